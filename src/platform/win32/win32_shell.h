#pragma once

#include "platform/shell.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

class Win32Shell : public Shell {
  public:
    // The window that owns any message the shell shows; may stay null.
    void SetOwner(HWND owner) { owner_ = owner; }
    bool Open(const std::string& file, const std::string& params, int showStyle,
              std::string* err) override;

  private:
    HWND owner_ = nullptr;
};

}  // namespace vantrel::win32
