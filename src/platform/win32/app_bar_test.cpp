#include "platform/win32/app_bar.h"

#include <gtest/gtest.h>

#include "platform/win32/window_testing.h"

namespace vantrel::win32 {
namespace {

using testing::Edges;
using testing::EdgesOf;

constexpr int kBarHeight = 17;

// A bar-like window floating somewhere, docked and undocked by the test.
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

// Where the shell puts the bar docked at the bottom the end-to-end tests
// see; here, what only the window itself shows.
TEST_F(AppBarTest, DocksAcrossTheScreenOnceAndUndocksKeepingThePlace) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    AppBarDock(Window(), DockState::kTop);
    ASSERT_TRUE(AppBarRegistered());
    EXPECT_EQ(EdgesOf(Window()), (Edges{0, 0, width, kBarHeight}));
    EXPECT_TRUE(IsToolWindow());
    EXPECT_EQ(Procedure(), reinterpret_cast<LONG_PTR>(&AppBarWndProc));
    AppBarDock(Window(), DockState::kBottom);  // already registered: nothing moves
    EXPECT_EQ(EdgesOf(Window())[1], 0);
    for (int twice = 0; twice < 2; ++twice) {  // harmless when not registered
        AppBarUndock();
        EXPECT_FALSE(AppBarRegistered());
        EXPECT_EQ(Procedure(), ownProc_);
        EXPECT_EQ(EdgesOf(Window())[1], 0);
        EXPECT_TRUE(IsToolWindow());  // the tool-window bit stays
    }
}

}  // namespace
}  // namespace vantrel::win32
