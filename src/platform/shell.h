#pragma once

#include <string>

namespace vantrel {

// Show-command numbers of an open.
enum ShowStyle : int { kShowHidden = 0, kShowNormal = 1, kShowMaximized = 3, kShowMinimized = 6 };

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a program, document, folder or URL with the verb "Open". False,
    // with the system's description of the failure, when the shell could not.
    virtual bool Open(const std::string& file, const std::string& params, int showStyle,
                      std::string* err) = 0;
};

}  // namespace vantrel
