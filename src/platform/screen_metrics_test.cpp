#include "platform/screen_metrics.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// Twips to the nearest pixel, halves towards zero; a DPI beyond any screen counts as 9600, and one
// the system failed to give as the standard one.
TEST(ScaleTwipsTest, NearestWithHalvesTowardsZeroAndEveryMeasureAtItsScale) {
    const ScreenMetrics standard{96, 17, 1, 15, 8, 4, 53, 67, -67, 2, 10};  // as it always was
    // clang-format off
    const struct { int twips, dpi, pixels; } cases[] = {
        {15, 96, 1}, {7, 96, 0}, {8, 96, 1}, {-8, 96, -1}, {-12, 120, -1}, {-6, 120, 0},
        {255, 144, 25}, {-1000, 96, -67}, {1000000, 96, 66667}, {120, 100000, 800}, {0, 192, 0}};
    // {dpi, {dpi, bar, top, cell height, cell width, margin, Enter, command room, out of sight,
    //  pane extra, pane margin}}
    const struct { int dpi; ScreenMetrics metrics; } scales[] = {
        {96, standard}, {0, standard}, {-5, standard},
        {120, {120, 21, 1, 19, 10, 5, 66, 83, -83, 2, 12}},
        {144, {144, 25, 1, 22, 12, 6, 79, 100, -100, 3, 15}},
        {168, {168, 30, 2, 26, 14, 7, 93, 117, -117, 3, 17}},
        {192, {192, 34, 2, 30, 16, 8, 106, 133, -133, 4, 20}},
        {288, {288, 51, 3, 45, 24, 12, 159, 200, -200, 6, 30}}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleTwips(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    }
    for (const auto& c : scales) EXPECT_EQ(MetricsForDpi(c.dpi), c.metrics) << c.dpi;
}

// Wide scripts take two cells and marks none; a torn sequence takes a cell a byte.
TEST(TextCellsTest, WideScriptsTakeTwoCellsAndMarksNone) {
    // clang-format off
    const struct { const char* text; int cells; } cases[] = {
        {"C:\\>", 4}, {"Résumé", 6}, {"Ελληνικά", 8}, {"日本語", 6}, {"한국어", 6}, {"😀x", 3},
        {"e\u0301", 1}, {"caf\xE9", 4}, {"ＡＢ", 4}, {"", 0}, {"\xF0\x9F", 2}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(TextCells(c.text), c.cells) << c.text;
}

TEST(MonitorTest, PrimaryAndTheMonitorOfAWindow) {
    const Monitor left{{-1920, 0, 1920, 1080}, false, 144};
    const Monitor primary{{0, 0, 1280, 720}, true, 96};
    const std::vector<Monitor> two{left, primary};
    // clang-format off
    const struct {
        const char* name; std::vector<Monitor> monitors; Rect window; Monitor expected; bool onSome;
    } cases[] = {
        {"on the primary", two, {100, 0, 400, 17}, primary, true},
        {"on the other", two, {-1900, 1063, 800, 17}, left, true},
        {"mostly on the other", two, {-300, 10, 400, 17}, left, true},
        {"mostly on the primary", two, {-100, 10, 400, 17}, primary, true},
        {"on none: the primary", two, {5000, 5000, 400, 17}, primary, false},
        {"the other removed", {primary}, {-1900, 1063, 800, 17}, primary, false},
        {"none marked primary", {left}, {0, 0, 10, 10}, left, false},
        {"no monitors at all", {}, {0, 0, 10, 10}, {{0, 0, 1280, 720}, true, 96}, false}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(MonitorOf(c.monitors, c.window), c.expected) << c.name;
        EXPECT_EQ(OnSomeMonitor(c.monitors, c.window), c.onSome) << c.name;
    }
    EXPECT_EQ(MonitorAt(two, -1, 0), left);
    EXPECT_EQ(MonitorAt(two, 0, 0), primary);
    EXPECT_EQ(MonitorAt(two, -1921, 0), primary);
}

}  // namespace
}  // namespace vantrel
