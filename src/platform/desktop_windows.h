// The other programs on the desktop: their top-level windows in stacking
// order, each window's title and owning process, and the three actions the
// window commands take on them. Failures are silent by design: a window can
// vanish between the walk and the action.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// The platform's window identifier; 0 is no window.
using WindowHandle = std::uintptr_t;

class DesktopWindows {
  public:
    virtual ~DesktopWindows() = default;

    // Every top-level window, visible or not, from the top of the z-order.
    virtual std::vector<WindowHandle> TopLevelWindows() const = 0;
    // "" for a window without a title.
    virtual std::string WindowTitle(WindowHandle window) const = 0;
    // 0 when the window is gone.
    virtual unsigned long WindowProcessId(WindowHandle window) const = 0;
    // Whether the window is shown; false when it is gone.
    virtual bool IsVisible(WindowHandle window) const = 0;

    virtual void BringToTop(WindowHandle window) = 0;
    // Asks the window to close, as its close box would.
    virtual void RequestClose(WindowHandle window) = 0;
    // Ends the process with exit code 0.
    virtual void TerminateProcess(unsigned long processId) = 0;
};

}  // namespace vantrel
