#include "platform/screen_metrics.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(MetricsForDpiTest, TableOfScales) {
    struct Case {
        int dpi;
        ScreenMetrics metrics;
    } cases[] = {
        // {dpi, bar, top, cell height, cell width, margin, Enter, command room,
        //  out of sight, pane extra, pane margin}
        {96, {96, 17, 1, 15, 8, 4, 53, 67, -67, 2, 10}},  // the layout as it always was
        {120, {120, 21, 1, 19, 10, 5, 66, 83, -83, 2, 12}},
        {144, {144, 25, 1, 22, 12, 6, 79, 100, -100, 3, 15}},
        {168, {168, 30, 2, 26, 14, 7, 93, 117, -117, 3, 17}},
        {192, {192, 34, 2, 30, 16, 8, 106, 133, -133, 4, 20}},
        {288, {288, 51, 3, 45, 24, 12, 159, 200, -200, 6, 30}},
        // A DPI the system failed to give counts as the standard one.
        {0, {96, 17, 1, 15, 8, 4, 53, 67, -67, 2, 10}},
        {-5, {96, 17, 1, 15, 8, 4, 53, 67, -67, 2, 10}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MetricsForDpi(c.dpi), c.metrics) << c.dpi;
        const ScreenMetrics m = MetricsForDpi(c.dpi);
        // The controls fit inside the bar at every scale.
        EXPECT_LE(m.controlTop + m.cellHeight, m.barHeight) << c.dpi;
    }
}

TEST(TextCellsTest, WideScriptsTakeTwoCellsAndMarksNone) {
    struct Case {
        const char* text;
        int cells;
    } cases[] =
        {
            {"C:\\>", 4},  {"Résumé", 6}, {"Ελληνικά", 8}, {"日本語", 6},
            {"한국어", 6}, {"😀x", 3},     {"e\u0301", 1},  {"caf\xE9", 4},
            {"ＡＢ", 4},   {"", 0},       {"\xF0\x9F", 2},  // a torn sequence: each byte a cell
        };
    for (const Case& c : cases) EXPECT_EQ(TextCells(c.text), c.cells) << c.text;
}

// A DPI beyond any screen counts as 9600.
TEST(ScaleTwipsTest, NearestWithHalvesTowardsZero) {
    struct Case {
        int twips, dpi, pixels;
    } cases[] = {
        {15, 96, 1},          {7, 96, 0},         {8, 96, 1},     {-8, 96, -1},
        {-12, 120, -1},       {-6, 120, 0},       {255, 144, 25}, {-1000, 96, -67},
        {1000000, 96, 66667}, {120, 100000, 800}, {0, 192, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleTwips(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    }
}

TEST(MonitorTest, PrimaryAndTheMonitorOfAWindow) {
    const Monitor left{{-1920, 0, 1920, 1080}, false, 144};
    const Monitor primary{{0, 0, 1280, 720}, true, 96};
    const std::vector<Monitor> two{left, primary};
    const std::vector<Monitor> unmarked{left};
    struct Case {
        const char* name;
        std::vector<Monitor> monitors;
        Rect window;
        Monitor expected;
        bool onSome;
    } cases[] = {
        {"on the primary", two, {100, 0, 400, 17}, primary, true},
        {"on the other", two, {-1900, 1063, 800, 17}, left, true},
        {"mostly on the other", two, {-300, 10, 400, 17}, left, true},
        {"mostly on the primary", two, {-100, 10, 400, 17}, primary, true},
        {"on none: the primary", two, {5000, 5000, 400, 17}, primary, false},
        {"the other removed", {primary}, {-1900, 1063, 800, 17}, primary, false},
        {"none marked primary", unmarked, {0, 0, 10, 10}, left, false},
        {"no monitors at all", {}, {0, 0, 10, 10}, {{0, 0, 1280, 720}, true, 96}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MonitorOf(c.monitors, c.window), c.expected) << c.name;
        EXPECT_EQ(OnSomeMonitor(c.monitors, c.window), c.onSome) << c.name;
    }
    EXPECT_EQ(MonitorAt(two, -1, 0), left);
    EXPECT_EQ(MonitorAt(two, 0, 0), primary);
    EXPECT_EQ(MonitorAt(two, -1921, 0), primary);
}

}  // namespace
}  // namespace vantrel
