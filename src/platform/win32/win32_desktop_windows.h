#pragma once

#include "platform/desktop_windows.h"

namespace vantrel::win32 {

// The top-level windows as the children of the desktop window, walked with
// GetWindow from the first child through each next sibling.
class Win32DesktopWindows : public DesktopWindows {
  public:
    std::vector<WindowHandle> TopLevelWindows() const override;
    std::string WindowTitle(WindowHandle window) const override;
    unsigned long WindowProcessId(WindowHandle window) const override;
    bool IsVisible(WindowHandle window) const override;
    void BringToTop(WindowHandle window) override;
    void RequestClose(WindowHandle window) override;
    void TerminateProcess(unsigned long processId) override;
};

}  // namespace vantrel::win32
