#include "platform/win32/win32_desktop_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/window_testing.h"

namespace vantrel::win32 {
namespace {

// Hidden windows of this process with titles no other window has. Hidden
// ones are found all the same, and Wine takes a second or two to show one.
class Win32DesktopWindowsTest : public ::testing::Test {
  protected:
    WindowHandle MakeWindow(const std::string& name) {
        std::string title = "Vantrel test " + name + " " + std::to_string(GetCurrentProcessId());
        made_.push_back(testing::MakeWindow(title, WS_POPUP));
        EXPECT_TRUE(made_.back().Valid());
        return reinterpret_cast<WindowHandle>(made_.back().Get());
    }
    // Where a window stands in the walk from the top.
    std::ptrdiff_t Place(WindowHandle w) const {
        std::vector<WindowHandle> all = desktop_.TopLevelWindows();
        return std::find(all.begin(), all.end(), w) - all.begin();
    }

    Win32DesktopWindows desktop_;
    std::vector<UniqueWindow> made_;
};

// The walk finds both windows with their titles and process; BringToTop
// puts one first; a close request is posted, not sent, so that a hung
// window hangs no one.
TEST_F(Win32DesktopWindowsTest, TheWalkFindsWindowsInOrderWithTheirTitlesAndProcess) {
    WindowHandle first = MakeWindow("first"), second = MakeWindow("second");
    EXPECT_LT(Place(first), static_cast<std::ptrdiff_t>(desktop_.TopLevelWindows().size()));
    EXPECT_EQ(desktop_.WindowTitle(first),
              "Vantrel test first " + std::to_string(GetCurrentProcessId()));
    EXPECT_EQ(desktop_.WindowProcessId(first), GetCurrentProcessId());
    desktop_.BringToTop(first);
    EXPECT_LT(Place(first), Place(second));
    desktop_.BringToTop(second);
    EXPECT_LT(Place(second), Place(first));
    // Shown or not, as the window is.
    EXPECT_FALSE(desktop_.IsVisible(first));
    ShowWindow(reinterpret_cast<HWND>(first), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(desktop_.IsVisible(first));

    desktop_.RequestClose(second);
    EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(second)));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(second)));
    made_.back().Release();
    // Once they are gone: no title, no process.
    made_.clear();
    EXPECT_EQ(desktop_.WindowTitle(first), "");
    EXPECT_EQ(desktop_.WindowProcessId(first), 0u);
    EXPECT_FALSE(desktop_.IsVisible(first));
}

}  // namespace
}  // namespace vantrel::win32
