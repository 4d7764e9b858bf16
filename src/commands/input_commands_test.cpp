#include "commands/input_commands.h"

#include "interpreter_fixture.h"
#include "platform/key_codes.h"

namespace vantrel::testing {
namespace {

using InputCommandsTest = InterpreterTest;

const char kMouseSyntax[] = "Syntax: MOUSE [x y [button]]\nExample: MOUSE 180 600 LEFT";

TEST_F(InputCommandsTest, MouseReportsMovesAndClicks) {
    os.input.cursorX = 180;
    os.input.cursorY = 600;
    using Moves = std::vector<std::pair<int, int>>;
    using Clicks = std::vector<MouseButton>;
    const MouseButton left = MouseButton::kLeft;
    // clang-format off
    const std::tuple<const char*, const char*, Moves, Clicks> cases[] = {
        {"mouse", "Current mouse cursor position: 180, 600", {}, {}},
        {"mouse 100", kMouseSyntax, {}, {}}, {"mouse 10 20", "", {{10, 20}}, {}},
        {"mouse 10 20 r", "", {{10, 20}}, {MouseButton::kRight}},
        {"mouse 10 20 LEFT", "", {{10, 20}}, {left}}, {"mouse 10 20 lift", "", {{10, 20}}, {left}},
        {"mouse 10 20 Middle", "", {{10, 20}}, {MouseButton::kMiddle}},
        {"mouse 10 20 z", "Invalid button", {{10, 20}}, {}}, {"mouse abc 20", "", {{0, 20}}, {}},
        {"mouse 2.5 3.5", "", {{2, 4}}, {}}, {"mouse 99999999999 5 l", "", {}, {left}}};
    // clang-format on
    for (const auto& [line, output, moves, clicks] : cases) {
        os.input.moves.clear();
        os.input.clicks.clear();
        EXPECT_EQ(Output(line), output) << line;
        EXPECT_EQ(os.input.moves, moves) << line;
        EXPECT_EQ(os.input.clicks, clicks) << line;
    }
}

TEST_F(InputCommandsTest, SendKeysSendsParsedKeysOnly) {
    EXPECT_EQ(Output("sendkeys +a{ENTER}"), "");
    // Bad notation sends nothing and says nothing.
    EXPECT_EQ(Output("sendkeys {NOPE}"), "");
    EXPECT_EQ(os.input.sent,
              (std::vector<std::vector<KeyStroke>>{
                  {{KeyStroke::kCharacter, 'a', true}, {KeyStroke::kVirtualKey, kVkReturn}}}));
}

}  // namespace
}  // namespace vantrel::testing
