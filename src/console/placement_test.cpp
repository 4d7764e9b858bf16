#include "console/placement.h"

#include <gtest/gtest.h>

#include <tuple>

#include "remote/console_state.h"

namespace vantrel {
namespace {

TEST(PlacementTest, WinPosChecksItsArguments) {
    // clang-format off
    const struct { const char *a1, *a2, *a3, *a4; WinPosAction action; } cases[] = {
        {"0", "0", "", "", WinPosAction::kStore},
        {"100", "200", "800", "", WinPosAction::kStore},
        {"10", "10", "80", "", WinPosAction::kStore},
        {"10", "10", "79.9", "", WinPosAction::kTooNarrow},
        {"10", "10", "50", "", WinPosAction::kTooNarrow},
        {"10", "10", "0", "", WinPosAction::kTooNarrow},
        {"-5", "10", "", "", WinPosAction::kSyntax},
        {"10", "-5", "", "", WinPosAction::kSyntax},
        {"x", "10", "", "", WinPosAction::kSyntax},
        {"00", "10", "", "", WinPosAction::kSyntax},  // not exactly "0"
        {"10", "", "", "", WinPosAction::kSyntax},
        {"1", "2", "100", "4", WinPosAction::kSyntax},
        {"1", "2", "wide", "", WinPosAction::kSyntax},
        {"", "", "", "", WinPosAction::kReport},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(CheckWinPos(c.a1, c.a2, c.a3, c.a4), c.action)
            << c.a1 << "|" << c.a2 << "|" << c.a3 << "|" << c.a4;
    }
}

TEST(PlacementTest, DragMovesOrWidensOnlyWithBothButtonsWhileFloating) {
    const DragKeys both{.left = true, .right = true}, left{.left = true};
    const DragKeys three{.left = true, .right = true, .middle = true};
    const DragKeys shift{.left = true, .right = true, .shift = true};
    const DragKeys ctrl{.left = true, .right = true, .ctrl = true};
    // clang-format off
    const struct { int x, y; DragKeys keys; bool floating; DragResult result; } cases[] = {
        // From the last cursor (100, 100) and the stored place (50, 60, 300).
        {110, 95, both, true, {true, false, 60, 55, 300}},
        {110, 95, both, false, {false, false, 50, 60, 300}},
        {110, 95, left, true, {false, false, 50, 60, 300}},
        {110, 95, three, true, {false, false, 50, 60, 300}},
        {110, 95, ctrl, true, {false, false, 50, 60, 300}},
        {140, 300, shift, true, {false, true, 50, 60, 340}},
        {-120, 100, shift, true, {false, true, 50, 60, 80}},
        {-121, 100, shift, true, {false, false, 50, 60, 300}},
    };
    // clang-format on
    auto fields = [](const DragResult& r) {
        return std::tuple(r.moved, r.resized, r.winX, r.winY, r.winWidth);
    };
    for (const auto& c : cases) {
        DragResult r = DragStep(c.x, c.y, 100, 100, c.keys, c.floating, 50, 60, 300);
        EXPECT_EQ(fields(r), fields(c.result)) << c.x << "," << c.y << " " << c.floating;
    }
    // The stored place may hold fractions; the result is whole.
    DragResult r = DragStep(101, 101, 100, 100, both, true, 10.4, 10.6, 300);
    EXPECT_EQ(r.winX, 11);
    EXPECT_EQ(r.winY, 12);
}

}  // namespace
}  // namespace vantrel
