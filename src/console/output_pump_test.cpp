#include "console/output_pump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vantrel {
namespace {

const Monitor kPrimary{{0, 0, 1280, 720}, true, 96};

std::string Repeat(const std::string& text, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += text;
    return out;
}

TEST(BreakPaneLinesTest, TableOfCases) {
    const struct {
        std::string text;
        int width;
        std::string expected;
    } cases[] = {
        {"", 10, ""},
        {"abc", 10, "abc"},
        {"abcd", 4, "abcd"},  // the last character is never examined
        {"abcde", 4, "abc\r\nde"},
        {"abc\r\nabcde", 4, "abc\r\nabc\r\nde"},  // columns restart after a line end
        {"\r\n\r\n", 2, "\r\n\r\n"},
        {"ab\r\ncd", 3, "ab\r\ncd"},
        {"abcdef", 2, "a\r\nb\r\nc\r\nd\r\nef"},
        {"abcdef", 1, "a\r\nb\r\nc\r\nd\r\nef"},  // too narrow: as 2, never endless
        {"abcdef", -3, "a\r\nb\r\nc\r\nd\r\nef"},
        {"a\rb\nc", 3, "a\r\r\nb\nc"},  // lone CR and LF are ordinary characters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BreakPaneLines(c.text, c.width), c.expected) << c.text << " / " << c.width;
    }
}

TEST(PaneBoundsTest, BelowTheBarWithoutRoomAboveElseAbove) {
    // clang-format off
    const struct { Rect bar; int lines; Rect pane; Monitor monitor = kPrimary; } cases[] = {
        {{0, 0, 1280, 17}, 3, {0, 17, 1280, 47}},       // docked at the top
        {{0, 703, 1280, 17}, 20, {0, 401, 1280, 302}},  // docked at the bottom
        {{30, 500, 400, 17}, 2, {30, 468, 400, 32}},    // floating low: above
        {{30, 31, 400, 17}, 2, {30, 48, 400, 32}},      // one pixel short of room
        {{30, 32, 400, 17}, 2, {30, 0, 400, 32}},       // just enough room above
        // Lines of 22 pixels and 3 more at 150%, 30 and 4 at 200%.
        {{0, 0, 1920, 25}, 3, {0, 25, 1920, 69}, {{0, 0, 1920, 1080}, true, 144}},
        {{0, 1046, 2560, 34}, 2, {0, 982, 2560, 64}, {{0, 0, 2560, 1080}, true, 192}},
        // Room above is counted from the bar's own monitor's top.
        {{-1920, 300, 800, 17}, 20, {-1920, 317, 800, 302}, {{-1920, 0, 1920, 1080}, false, 96}},
        {{0, -700, 800, 17}, 2, {0, -732, 800, 32}, {{0, -1080, 1920, 1080}, false, 96}},
        {{0, -1080, 800, 17}, 2, {0, -1063, 800, 32}, {{0, -1080, 1920, 1080}, false, 96}},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(PaneBounds(c.bar, c.lines, c.monitor), c.pane) << c.bar.top << " / " << c.lines;
    }
}

TEST(PlanPaneTest, TextAndHeight) {
    const std::string x300 = Repeat("x\r\n", 300), five = "1\r\n2\r\n3\r\n4\r\n5";
    const std::string a100 = Repeat("a", 100), a98aa = Repeat("a", 98) + "\r\naa";
    const std::string a99 = Repeat("a", 99), a99aa = a99 + "\r\naa";
    // clang-format off
    const struct {
        const char* name; std::string shown, pending; int barWidth; double maxMem, maxSize;
        std::string text; int height; int dpi = kStandardDpi;
    } cases[] = {
        {"first text", "", "\r\n5", 1280, 60, 20, "\r\n5", 2 * 15 + 2},
        {"added below", "a\r\nb", "c", 1280, 60, 20, "a\r\nb\r\nc", 3 * 15 + 2},
        {"MaxMem lines kept, MaxSize shown", "", five, 1280, 3, 2, "3\r\n4\r\n5", 32},
        {"halves to even", "", five, 1280, 3.5, 2.5, "2\r\n3\r\n4\r\n5", 32},
        {"one line kept at least", "", five, 1280, 0, 20, "5", 17},
        {"MaxSize 0", "", five, 1280, 60, 0, five, 17},
        {"MaxSize below 0", "", five, 1280, 60, -5, five, 17},
        {"MaxSize not a number", "", five, 1280, 60, std::nan(""), five, 17},
        {"lone CR and LF end no line", "", "a\rb\nc", 1280, 1, 20, "a\rb\nc", 17},
        {"at most 145 lines shown", "", x300, 1280, 1e12, 1e12, x300, 145 * 15 + 2},
        // A line holds one character less than the box's width in Fixedsys
        // characters after 150 twips of margin: 810 pixels hold exactly 100.
        {"810 pixels", "", Repeat("a", 200), 810, 60, 20, a99 + "\r\n" + a99aa, 47},
        {"809 pixels", "", a100, 809, 60, 20, a98aa, 32},
        {"the narrowest bar", "", "abcdefghij", 80, 60, 20, "abcdefg\r\nhij", 32},
        // At 150% a character is 12 pixels after 15 of margin: 1215 pixels
        // hold 100; at 200%, 16 after 20: 1620 pixels.
        {"1215 pixels at 150%", "", a100, 1215, 60, 20, a100, 25, 144},
        {"1214 pixels at 150%", "", a100, 1214, 60, 20, a98aa, 47, 144},
        {"1620 pixels at 200%", "", Repeat("a", 101), 1620, 60, 20, a99aa, 64, 192},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PaneSettings settings;
        settings.maxMem = c.maxMem;
        settings.maxSize = c.maxSize;
        const Monitor monitor{{0, 0, 4000, 3000}, true, c.dpi};
        PaneView view = PlanPane(c.shown, c.pending, Rect{0, 0, c.barWidth, 17}, monitor, settings);
        EXPECT_EQ(view.text, c.text);
        EXPECT_EQ(view.bounds.height, c.height);
        EXPECT_EQ(view.dpi, c.dpi);
    }
}

}  // namespace
}  // namespace vantrel
