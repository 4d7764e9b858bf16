#include "platform/win32/app_bar.h"

#include <gtest/gtest.h>

#include "platform/win32/window_testing.h"

namespace vantrel::win32 {
namespace {

using testing::Edges;
using testing::EdgesOf;

constexpr int kBarHeight = 17;

// A bar-like window floating somewhere, docked and undocked by the tests.
class AppBarTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(window_.Valid()); }
    void TearDown() override { AppBarUndock(); }

    HWND Window() const { return window_.Get(); }
    LONG_PTR Procedure() const { return GetWindowLongPtrA(Window(), GWLP_WNDPROC); }
    bool IsToolWindow() const { return testing::HasStyle(Window(), WS_EX_TOOLWINDOW, GWL_EXSTYLE); }

    UniqueWindow window_ = testing::MakeWindow("Vantrel app bar test", WS_POPUP | WS_VISIBLE,
                                               WS_EX_TOPMOST, {100, 200, 400, 200 + kBarHeight});
    const LONG_PTR ownProc_ = Procedure();
};

TEST_F(AppBarTest, DocksAtTheTopAcrossTheScreen) {
    AppBarDock(Window(), DockState::kTop);
    ASSERT_TRUE(AppBarRegistered());
    EXPECT_EQ(EdgesOf(Window()), (Edges{0, 0, GetSystemMetrics(SM_CXSCREEN), kBarHeight}));
    EXPECT_TRUE(IsToolWindow());
    EXPECT_EQ(Procedure(), reinterpret_cast<LONG_PTR>(&AppBarWndProc));
}

TEST_F(AppBarTest, DocksAtTheBottomKeepingItsHeight) {
    AppBarDock(Window(), DockState::kBottom);
    ASSERT_TRUE(AppBarRegistered());
    const Edges e = EdgesOf(Window());
    EXPECT_EQ(e[0], 0);
    EXPECT_EQ(e[2], GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(e[3] - e[1], kBarHeight);
    // The bottom of the work area the shell grants, at or just above the
    // screen's edge.
    EXPECT_LE(e[3], GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GE(e[3], GetSystemMetrics(SM_CYSCREEN) - 2);
}

TEST_F(AppBarTest, UndockGivesTheWindowProcedureBackAndKeepsThePlace) {
    AppBarDock(Window(), DockState::kTop);
    ASSERT_TRUE(AppBarRegistered());
    for (int twice = 0; twice < 2; ++twice) {  // harmless when not registered
        AppBarUndock();
        EXPECT_FALSE(AppBarRegistered());
        EXPECT_EQ(Procedure(), ownProc_);
        EXPECT_EQ(EdgesOf(Window())[1], 0);
        EXPECT_TRUE(IsToolWindow());  // the tool-window bit stays
    }
}

TEST_F(AppBarTest, DockingWhileRegisteredDoesNothing) {
    AppBarDock(Window(), DockState::kTop);
    AppBarDock(Window(), DockState::kBottom);
    EXPECT_EQ(EdgesOf(Window())[1], 0);
    AppBarUndock();
    AppBarDock(Window(), DockState::kBottom);
    EXPECT_GT(EdgesOf(Window())[1], GetSystemMetrics(SM_CYSCREEN) / 2);
}

}  // namespace
}  // namespace vantrel::win32
