#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/processes.h"

namespace vantrel {

// Show-command numbers of an open.
enum ShowStyle : int { kShowHidden = 0, kShowNormal = 1, kShowMaximized = 3, kShowMinimized = 6 };

// The longest texts the shell takes. The system's own code copies them into
// buffers of fixed sizes, so a longer one can crash the process that asks
// (the shell runs in it) instead of failing. Windows' limits by default.
struct ShellLimits {
    // A file, folder or program name: MAX_PATH, less its terminating zero.
    std::size_t path = 259;
    // An address such as http://... or mailto:...: INTERNET_MAX_URL_LENGTH,
    // less its terminating zero.
    std::size_t address = 2083;
    // A name beginning with "www" that is no address: the shell opens it as
    // one by putting "http://" before it.
    std::size_t webName = 259;
    // The quoted program name, a blank and the parameters.
    std::size_t commandLine = kMaxCommandLine;
};

// Whether text names an address: a scheme of two or more letters, digits,
// "+", "-" or "." (the first a letter) before a colon. "C:\x" is a path.
bool IsAddress(std::string_view text);

// Whether file, with params, is within limits.
bool FitsShell(const ShellLimits& limits, std::string_view file, std::string_view params);

class Shell {
  public:
    virtual ~Shell() = default;
    // Whether the shell can be handed file and params at all; Open refuses
    // what does not fit, without handing it over.
    virtual bool Fits(const std::string& file, const std::string& params) const = 0;
    // Opens a program, document, folder or URL with the verb "Open". False,
    // with the system's description of the failure, when the shell could not.
    virtual bool Open(const std::string& file, const std::string& params, int showStyle,
                      std::string* err) = 0;
};

}  // namespace vantrel
