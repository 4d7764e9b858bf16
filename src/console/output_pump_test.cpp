#include "console/output_pump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vantrel {
namespace {

// The line-breaking rule as it is stated: a 1-based position walks the text
// while breaks are inserted in front of it. BreakPaneLines must agree.
std::string BreakByTheRule(std::string text, int width) {
    size_t i = 1;
    int c = 0;
    while (i != text.size() && !text.empty()) {
        c = text.compare(i - 1, 2, "\r\n") == 0 ? -1 : c + 1;
        if (width <= c) {
            text.insert(i - 1, "\r\n");
            c = -1;
        }
        ++i;
    }
    return text;
}

std::string Repeat(char c, size_t n) {
    return std::string(n, c);
}

TEST(PaneLineWidthTest, TakesMarginAndCharacterWidth) {
    struct Case {
        int twips;
        int width;
    } cases[] = {
        {19200, 158},             // a 1280-pixel bar
        {12150, 100},             // exactly 100 characters of room
        {12149, 99},              // one twip short
        {1200, 8},                // the narrowest floating bar, 80 pixels
        {150, 0},     {100, -1},  // Int() rounds towards minus infinity
    };
    for (const Case& c : cases) EXPECT_EQ(PaneLineWidth(c.twips), c.width) << c.twips;
}

TEST(BreakPaneLinesTest, LongLineBreaksIntoShorterLines) {
    // A line of 200 characters in a pane 100 characters wide: 99, 99 and 2.
    std::string broken = BreakPaneLines(Repeat('a', 200), 100);
    EXPECT_EQ(broken, Repeat('a', 99) + "\r\n" + Repeat('a', 99) + "\r\n" + "aa");
}

TEST(BreakPaneLinesTest, TableOfCases) {
    struct Case {
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
    for (const Case& c : cases) {
        EXPECT_EQ(BreakPaneLines(c.text, c.width), c.expected) << c.text << " / " << c.width;
    }
}

TEST(BreakPaneLinesTest, AgreesWithTheStatedRule) {
    // Texts built from a small alphabet that includes line ends, for every
    // width from 2 to 9: the one-pass version must give what the stated
    // position walk gives.
    const std::string pieces[] = {"x", "yy", "\r\n", "\r", "\n", "zzzzzzz"};
    unsigned seed = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        int count = static_cast<int>(seed % 12);
        for (int k = 0; k < count; ++k) {
            seed = seed * 1103515245 + 12345;
            text += pieces[(seed >> 16) % 6];
        }
        seed = seed * 1103515245 + 12345;
        for (int width = 2; width < 10; ++width) {
            ASSERT_EQ(BreakPaneLines(text, width), BreakByTheRule(text, width))
                << "text of " << text.size() << " characters, width " << width;
        }
    }
}

TEST(CountPaneLinesTest, CountsLineEndsPlusOne) {
    EXPECT_EQ(CountPaneLines(""), 1);
    EXPECT_EQ(CountPaneLines("a"), 1);
    EXPECT_EQ(CountPaneLines("\r\n"), 2);
    EXPECT_EQ(CountPaneLines("a\r\nb\r\nc"), 3);
    EXPECT_EQ(CountPaneLines("a\rb\nc"), 1);
}

TEST(KeepLastLinesTest, DropsOldestLines) {
    struct Case {
        std::string text;
        int max;
        std::string expected;
    } cases[] = {
        {"1\r\n2\r\n3\r\n4\r\n5", 3, "3\r\n4\r\n5"},
        {"1\r\n2\r\n3", 3, "1\r\n2\r\n3"},
        {"1\r\n2\r\n3", 1, "3"},
        {"1\r\n2\r\n3", 0, "3"},  // at least one line stays
        {"\r\n\r\nlast", 1, "last"},
        {"only", 5, "only"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        KeepLastLines(&text, c.max);
        EXPECT_EQ(text, c.expected) << c.text << " / " << c.max;
    }
}

TEST(LineLimitTest, RoundsHalvesToEvenAndKeepsAtLeastOne) {
    struct Case {
        double setting;
        int limit;
    } cases[] = {
        {20, 20}, {2.5, 2}, {3.5, 4}, {2.4, 2},      {1.5, 2},          {0.5, 1},
        {0, 1},   {-5, 1},  {1, 1},   {1e12, 32767}, {std::nan(""), 1},
    };
    for (const Case& c : cases) EXPECT_EQ(LineLimit(c.setting), c.limit) << c.setting;
}

TEST(PaneBoundsTest, BelowTheBarWithoutRoomAboveElseAbove) {
    struct Case {
        Rect bar;
        int lines;
        Rect pane;
    } cases[] = {
        {{0, 0, 1280, 17}, 3, {0, 17, 1280, 47}},       // docked at the top
        {{0, 703, 1280, 17}, 20, {0, 401, 1280, 302}},  // docked at the bottom
        {{30, 500, 400, 17}, 2, {30, 468, 400, 32}},    // floating low: above
        {{30, 31, 400, 17}, 2, {30, 48, 400, 32}},      // one pixel short of room
        {{30, 32, 400, 17}, 2, {30, 0, 400, 32}},       // just enough room above
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PaneBounds(c.bar, c.lines), c.pane) << c.bar.top << " / " << c.lines;
    }
}

TEST(PlanPaneTest, FirstTextOpensAPaneSizedToIt) {
    PaneSettings settings;
    settings.textColour = 0x00C000;
    settings.bgColour = 0x000001;
    PaneView view = PlanPane("", "\r\n5", Rect{0, 0, 1280, 17}, settings);
    EXPECT_EQ(view.text, "\r\n5");
    EXPECT_EQ(view.bounds, (Rect{0, 17, 1280, 32}));
    EXPECT_EQ(view.textColour, 0x00C000u);
    EXPECT_EQ(view.bgColour, 0x000001u);
}

TEST(PlanPaneTest, AppendsBelowShownText) {
    PaneView view = PlanPane("a\r\nb", "c", Rect{0, 0, 1280, 17}, PaneSettings{});
    EXPECT_EQ(view.text, "a\r\nb\r\nc");
    EXPECT_EQ(view.bounds.height, 3 * 15 + 2);
}

TEST(PlanPaneTest, KeepsAtMostMaxMemLinesAndShowsAtMostMaxSize) {
    PaneSettings settings;
    settings.maxMem = 3;
    settings.maxSize = 2;
    PaneView view = PlanPane("", "1\r\n2\r\n3\r\n4\r\n5", Rect{0, 0, 1280, 17}, settings);
    EXPECT_EQ(view.text, "3\r\n4\r\n5");
    EXPECT_EQ(view.bounds.height, 32);  // 480 twips
}

TEST(PlanPaneTest, UnreadableSizesGiveOneLine) {
    for (double size : {0.0, -5.0}) {
        PaneSettings settings;
        settings.maxSize = size;
        PaneView view = PlanPane("", "1\r\n2\r\n3", Rect{0, 0, 1280, 17}, settings);
        EXPECT_EQ(view.bounds.height, 17) << size;
    }
}

TEST(PlanPaneTest, BreaksLinesForTheBarWidth) {
    // 80 pixels: 1200 twips, 8 characters a line, so 7 per broken line.
    PaneView view = PlanPane("", "abcdefghij", Rect{0, 0, 80, 17}, PaneSettings{});
    EXPECT_EQ(view.text, "abcdefg\r\nhij");
}

TEST(PlanPaneTest, VisibleLinesAreBoundedByThePaneHeightRange) {
    PaneSettings settings;
    settings.maxMem = 1000;
    settings.maxSize = 1000;
    std::string text;
    for (int i = 0; i < 300; ++i) text += "x\r\n";
    PaneView view = PlanPane("", text, Rect{0, 0, 1280, 17}, settings);
    EXPECT_EQ(view.bounds.height, kMaxVisiblePaneLines * 15 + 2);
}

}  // namespace
}  // namespace vantrel
