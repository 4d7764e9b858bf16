#include "platform/win32/app_bar.h"

#include <gtest/gtest.h>

namespace vantrel::win32 {
namespace {

constexpr int kBarHeight = 17;

// A bar-like window floating somewhere, docked and undocked by the tests.
class AppBarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "Vantrel app bar test",
                                  WS_POPUP | WS_VISIBLE, 100, 200, 300, kBarHeight, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        ownProc_ = GetWindowLongPtrA(window_, GWLP_WNDPROC);
    }
    void TearDown() override {
        AppBarUndock();
        DestroyWindow(window_);
    }

    RECT Rect() const {
        RECT r;
        GetWindowRect(window_, &r);
        return r;
    }

    HWND window_ = nullptr;
    LONG_PTR ownProc_ = 0;
};

TEST_F(AppBarTest, DocksAtTheTopAcrossTheScreen) {
    AppBarDock(window_, DockState::kTop);
    ASSERT_TRUE(AppBarRegistered());
    RECT r = Rect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, kBarHeight);
    EXPECT_TRUE(GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongPtrA(window_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&AppBarWndProc));
}

TEST_F(AppBarTest, DocksAtTheBottomKeepingItsHeight) {
    AppBarDock(window_, DockState::kBottom);
    ASSERT_TRUE(AppBarRegistered());
    RECT r = Rect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom - r.top, kBarHeight);
    // The bottom of the work area the shell grants, at or just above the
    // screen's edge.
    EXPECT_LE(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GE(r.bottom, GetSystemMetrics(SM_CYSCREEN) - 2);
}

TEST_F(AppBarTest, UndockGivesTheWindowProcedureBackAndKeepsThePlace) {
    AppBarDock(window_, DockState::kTop);
    ASSERT_TRUE(AppBarRegistered());
    AppBarUndock();
    EXPECT_FALSE(AppBarRegistered());
    EXPECT_EQ(GetWindowLongPtrA(window_, GWLP_WNDPROC), ownProc_);
    EXPECT_EQ(Rect().top, 0);
    // The tool-window bit stays.
    EXPECT_TRUE(GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    AppBarUndock();  // harmless when not registered
    EXPECT_EQ(GetWindowLongPtrA(window_, GWLP_WNDPROC), ownProc_);
}

TEST_F(AppBarTest, DockingWhileRegisteredDoesNothing) {
    AppBarDock(window_, DockState::kTop);
    AppBarDock(window_, DockState::kBottom);
    EXPECT_EQ(Rect().top, 0);
    AppBarUndock();
    AppBarDock(window_, DockState::kBottom);
    EXPECT_GT(Rect().top, GetSystemMetrics(SM_CYSCREEN) / 2);
}

}  // namespace
}  // namespace vantrel::win32
