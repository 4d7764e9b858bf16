#pragma once

#include "platform/shell.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// Whether this process runs under Wine rather than Windows: Wine's ntdll
// exports its version, Windows' does not.
bool RunningOnWine();

// The limits of the shell this process runs on.
ShellLimits SystemShellLimits();

class Win32Shell : public Shell {
  public:
    Win32Shell() : limits_(SystemShellLimits()) {}
    // The window that owns any message the shell shows; may stay null.
    void SetOwner(HWND owner) { owner_ = owner; }
    bool Fits(const std::string& file, const std::string& params) const override;
    bool Open(const std::string& file, const std::string& params, int showStyle,
              std::string* err) override;

  private:
    HWND owner_ = nullptr;
    ShellLimits limits_;
};

}  // namespace vantrel::win32
