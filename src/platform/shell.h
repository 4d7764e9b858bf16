#pragma once

#include <string>

namespace vantrel {

// Show-command numbers of an open.
enum ShowStyle : int { kShowHidden = 0, kShowNormal = 1, kShowMaximized = 3, kShowMinimized = 6 };

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a program, document, folder or URL with the verb "Open". Returns
    // the shell's result: greater than 32 on success.
    virtual int Open(const std::string& file, const std::string& params, int showStyle) = 0;
};

}  // namespace vantrel
