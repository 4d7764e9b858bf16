#include "console/apply_settings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantrel {
namespace {

TEST(LayOutBarTest, TableOfCases) {
    // clang-format off
    const struct { const char* name; BarInputs in; BarLayout out; int dpi = kStandardDpi; }
        cases[] = {
        // "C:\>" is 4 characters: 4 x 120 + 60 twips = 36 pixels.
        {"short prompt", {kLocal, false, 4, 1280}, {36, 36, 1244, -67}},
        {"with Enter button", {kLocal, true, 4, 1280}, {36, 36, 1191, 1227}},
        // 200 characters want 24060 twips; 1000 twips stay for the command box.
        {"long prompt shrinks", {kLocal, false, 200, 1280}, {1213, 1213, 67, -67}},
        {"sending keeps the button", {kSending, true, 4, 1280}, {36, 36, 1191, 1227}},
        // With a key hint in the command box the prompt is neither shrunk
        // nor joined by the button.
        {"serving hides the button", {kServing, true, 4, 1280}, {36, 36, 1244, -67}},
        {"serving long prompt", {kServing, false, 200, 1280}, {1604, 1604, 0, -67}},
        {"connecting", {kConnecting, true, 200, 1280}, {1604, 1604, 0, -67}},
        {"awaiting login", {kAwaitingLogin, true, 4, 1280}, {36, 36, 1244, -67}},
        // Narrower than button + 1000 twips: the prompt goes first, to 0.
        {"narrow bar with button", {kLocal, true, 4, 80}, {0, 0, 27, 27}},
        {"narrow bar", {kLocal, false, 4, 80}, {13, 13, 67, -67}},
        // At 150% a character is 12 pixels, the margin 6, the button 79 and
        // the command box's least room 100; at 200% 16, 8, 106 and 133.
        {"150%", {kLocal, false, 4, 1920}, {54, 54, 1866, -100}, 144},
        {"150% with Enter button", {kLocal, true, 4, 1920}, {54, 54, 1787, 1841}, 144},
        {"150% long prompt", {kLocal, true, 200, 1920}, {1741, 1741, 100, 1841}, 144},
        {"200%", {kLocal, false, 4, 2560}, {72, 72, 2488, -133}, 192},
        {"200% serving", {kServing, true, 200, 2560}, {3208, 3208, 0, -133}, 192},
        {"200% long prompt", {kLocal, false, 200, 2560}, {2427, 2427, 133, -133}, 192},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(LayOutBar(c.in, MetricsForDpi(c.dpi)), c.out) << c.name;
}

TEST(FloatingBoundsTest, WholePixelsAndAMinimumWidth) {
    // clang-format off
    const struct { double x, y, width; Rect bounds; int dpi = kStandardDpi; } cases[] = {
        {10, 10, 10, {10, 10, 80, 17}},              // below 80 counts as 80
        {100.5, 200.5, 800.5, {100, 200, 800, 17}},  // halves to even
        {101.5, 3.5, 79.5, {102, 4, 80, 17}},
        {1e300, -1e300, 1e300, {100000, -100000, 100000, 17}},
        {std::nan(""), std::nan(""), std::nan(""), {0, 0, 80, 17}},  // "set WinX=abc"
        {10, 10, 10, {10, 10, 80, 25}, 144},                         // the width stays in pixels
        {100, 200, 800, {100, 200, 800, 34}, 192},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(FloatingBounds(c.x, c.y, c.width, MetricsForDpi(c.dpi)), c.bounds)
            << c.x << "," << c.y << "," << c.width;
    }
}

}  // namespace
}  // namespace vantrel
