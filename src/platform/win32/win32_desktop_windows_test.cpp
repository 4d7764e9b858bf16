#include "platform/win32/win32_desktop_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "commands/window_commands.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

// Windows of this test process with titles no other window has.
class Win32DesktopWindowsTest : public ::testing::Test {
  protected:
    void TearDown() override {
        for (HWND w : made_) DestroyWindow(w);
    }

    HWND MakeWindow(const std::string& title, bool visible) {
        HWND w =
            CreateWindowExA(0, "STATIC", title.c_str(), WS_POPUP | (visible ? WS_VISIBLE : 0), 10,
                            10, 100, 30, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(w, nullptr);
        made_.push_back(w);
        return w;
    }

    std::string Unique(const char* name) const {
        return std::string("Vantrel test ") + name + " " + std::to_string(GetCurrentProcessId());
    }

    static WindowHandle Handle(HWND w) { return reinterpret_cast<WindowHandle>(w); }

    // Lets posted messages (a close request) reach this thread's windows.
    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

    Win32DesktopWindows desktop_;
    std::vector<HWND> made_;
};

TEST_F(Win32DesktopWindowsTest, WalkFindsVisibleAndHiddenWindowsWithTitleAndProcess) {
    HWND shown = MakeWindow(Unique("shown"), true);
    HWND hidden = MakeWindow(Unique("hidden"), false);
    std::vector<WindowHandle> all = desktop_.TopLevelWindows();
    EXPECT_NE(std::find(all.begin(), all.end(), Handle(shown)), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), Handle(hidden)), all.end());
    EXPECT_EQ(desktop_.WindowTitle(Handle(shown)), Unique("shown"));
    EXPECT_EQ(desktop_.WindowProcessId(Handle(hidden)), GetCurrentProcessId());
}

TEST_F(Win32DesktopWindowsTest, FindsThisProcessWindowByTitleAndByPid) {
    HWND w = MakeWindow(Unique("Finder"), true);
    // Any case, any part of the title.
    std::string fragment = "TEST FINDER " + std::to_string(GetCurrentProcessId());
    EXPECT_EQ(FindWindowsByTitle(desktop_, fragment), (std::vector<WindowHandle>{Handle(w)}));
    std::vector<WindowHandle> mine = FindWindowsByPid(desktop_, GetCurrentProcessId());
    EXPECT_NE(std::find(mine.begin(), mine.end(), Handle(w)), mine.end());
    for (WindowHandle h : mine) EXPECT_EQ(desktop_.WindowProcessId(h), GetCurrentProcessId());
    EXPECT_EQ(FindWindowsByTitle(desktop_, Unique("no such window")),
              (std::vector<WindowHandle>{0}));
}

TEST_F(Win32DesktopWindowsTest, AWindowGoneHasNoTitleAndNoProcess) {
    HWND w = MakeWindow(Unique("gone"), false);
    DestroyWindow(w);
    made_.clear();
    EXPECT_EQ(desktop_.WindowTitle(Handle(w)), "");
    EXPECT_EQ(desktop_.WindowProcessId(Handle(w)), 0u);
}

TEST_F(Win32DesktopWindowsTest, BringToTopPutsTheWindowFirstInTheWalk) {
    HWND first = MakeWindow(Unique("first"), true);
    HWND second = MakeWindow(Unique("second"), true);
    desktop_.BringToTop(Handle(first));
    std::vector<WindowHandle> all = desktop_.TopLevelWindows();
    auto at = [&](HWND w) { return std::find(all.begin(), all.end(), Handle(w)); };
    EXPECT_LT(at(first), at(second));
    desktop_.BringToTop(Handle(second));
    all = desktop_.TopLevelWindows();
    EXPECT_LT(at(second), at(first));
}

TEST_F(Win32DesktopWindowsTest, RequestCloseClosesTheWindowOnceItsQueueRuns) {
    HWND w = MakeWindow(Unique("closing"), true);
    desktop_.RequestClose(Handle(w));
    EXPECT_TRUE(IsWindow(w));  // posted, not sent
    Pump();
    EXPECT_FALSE(IsWindow(w));
    made_.clear();
}

}  // namespace
}  // namespace vantrel::win32
