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

    Win32DesktopWindows desktop_;
    std::vector<UniqueWindow> made_;
};

// The walk finds hidden windows too, shown or not as the window is; a close
// request is posted, not sent, so that a hung window hangs no one; a window
// gone has no title and no process. (That the walk gives titles and
// processes, and that BringToTop raises a window, the end-to-end test of
// FOCUS, CLOSE and KILL by title and process sees on the real desktop.)
TEST_F(Win32DesktopWindowsTest, TheWalkFindsHiddenWindowsAndAClosedOneIsGone) {
    WindowHandle first = MakeWindow("first"), second = MakeWindow("second");
    const std::vector<WindowHandle> all = desktop_.TopLevelWindows();
    EXPECT_NE(std::find(all.begin(), all.end(), first), all.end());
    EXPECT_FALSE(desktop_.IsVisible(first));
    ShowWindow(reinterpret_cast<HWND>(first), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(desktop_.IsVisible(first));

    desktop_.RequestClose(second);
    EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(second)));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(second)));
    made_.back().Detach();
    made_.clear();
    EXPECT_EQ(desktop_.WindowTitle(first), "");
    EXPECT_EQ(desktop_.WindowProcessId(first), 0u);
    EXPECT_FALSE(desktop_.IsVisible(first));
}

}  // namespace
}  // namespace vantrel::win32
