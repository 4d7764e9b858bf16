#include "console/apply_settings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantrel {
namespace {

TEST(LayOutBarTest, TableOfCases) {
    struct Case {
        const char* name;
        BarInputs in;
        BarLayout out;
    } cases[] = {
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
    };
    for (const Case& c : cases) EXPECT_EQ(LayOutBar(c.in), c.out) << c.name;
}

TEST(FloatingBoundsTest, WholePixelsAndAMinimumWidth) {
    struct Case {
        double x, y, width;
        Rect bounds;
    } cases[] = {
        {10, 10, 10, {10, 10, 80, 17}},              // below 80 counts as 80
        {100.5, 200.5, 800.5, {100, 200, 800, 17}},  // halves to even
        {101.5, 3.5, 79.5, {102, 4, 80, 17}},
        {1e300, -1e300, 1e300, {100000, -100000, 100000, 17}},
        {std::nan(""), std::nan(""), std::nan(""), {0, 0, 80, 17}},  // "set WinX=abc"
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FloatingBounds(c.x, c.y, c.width), c.bounds)
            << c.x << "," << c.y << "," << c.width;
    }
}

}  // namespace
}  // namespace vantrel
