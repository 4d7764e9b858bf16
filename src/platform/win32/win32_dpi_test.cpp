#include "platform/win32/win32_dpi.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/fixed_font.h"
#include "platform/win32/window_testing.h"

namespace vantrel::win32 {
namespace {

// One primary monitor at the origin; a window is drawn at its monitor's
// scale.
TEST(Win32DpiTest, TheMonitorsHoldOnePrimaryAtTheOriginAndAWindowTakesItsScale) {
    std::vector<Monitor> monitors = DesktopMonitors();
    ASSERT_FALSE(monitors.empty());
    EXPECT_EQ(
        std::count_if(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; }),
        1);
    EXPECT_EQ(PrimaryMonitor(monitors).bounds,
              (Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    for (const Monitor& m : monitors) EXPECT_GT(m.dpi, 0);
    UniqueWindow window = testing::MakeWindow("", WS_POPUP);
    ASSERT_TRUE(window.Valid());
    EXPECT_EQ(WindowDpi(window.Get()),
              MonitorDpi(MonitorFromWindow(window.Get(), MONITOR_DEFAULTTOPRIMARY)));
}

// The font draws in the cell the layout counts with, at every scale.
TEST(Win32DpiTest, TheFontFillsTheCell) {
    for (int dpi : {96, 120, 144, 192}) {
        const ScreenMetrics m = MetricsForDpi(dpi);
        UniqueFont font = CreateFixedsysFont(m);
        ASSERT_TRUE(font.Valid()) << dpi;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font.Get());
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        DeleteDC(dc);
        EXPECT_EQ(tm.tmHeight, m.cellHeight) << dpi;
        EXPECT_EQ(tm.tmAveCharWidth, m.cellWidth) << dpi;
    }
}

}  // namespace
}  // namespace vantrel::win32
