#include "commands/input_commands.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"
#include "platform/key_codes.h"

namespace vantrel::testing {
namespace {

using InputCommandsTest = InterpreterTest;

const char kMouseSyntax[] = "Syntax: MOUSE [x y [button]]\nExample: MOUSE 180 600 LEFT";

TEST_F(InputCommandsTest, MouseReportsMovesAndClicks) {
    os.input.cursorX = 180;
    os.input.cursorY = 600;
    EXPECT_EQ(Output("mouse"), "Current mouse cursor position: 180, 600");
    EXPECT_TRUE(os.input.moves.empty());

    struct Case {
        const char* line;
        const char* output;
        std::vector<std::pair<int, int>> moves;
        std::vector<MouseButton> clicks;
    } cases[] = {
        {"mouse 100", kMouseSyntax, {}, {}},
        {"mouse 10 20", "", {{10, 20}}, {}},
        {"mouse 10 20 r", "", {{10, 20}}, {MouseButton::kRight}},
        {"mouse 10 20 LEFT", "", {{10, 20}}, {MouseButton::kLeft}},
        {"mouse 10 20 lift", "", {{10, 20}}, {MouseButton::kLeft}},
        {"mouse 10 20 Middle", "", {{10, 20}}, {MouseButton::kMiddle}},
        {"mouse 10 20 z", "Invalid button", {{10, 20}}, {}},
        {"mouse abc 20", "", {{0, 20}}, {}},
        {"mouse 2.5 3.5", "", {{2, 4}}, {}},
        {"mouse 99999999999 5 l", "", {}, {MouseButton::kLeft}},
    };
    for (const Case& c : cases) {
        os.input.moves.clear();
        os.input.clicks.clear();
        EXPECT_EQ(Output(c.line), c.output) << c.line;
        EXPECT_EQ(os.input.moves, c.moves) << c.line;
        EXPECT_EQ(os.input.clicks, c.clicks) << c.line;
    }
}

TEST_F(InputCommandsTest, SendKeysSendsParsedKeysOnly) {
    EXPECT_EQ(Output("sendkeys +a{ENTER}"), "");
    ASSERT_EQ(os.input.sent.size(), 1u);
    EXPECT_EQ(os.input.sent[0], (std::vector<KeyStroke>{{KeyStroke::kCharacter, 'a', true},
                                                        {KeyStroke::kVirtualKey, kVkReturn}}));
    // Bad notation sends nothing and says nothing.
    EXPECT_EQ(Output("sendkeys {NOPE}"), "");
    EXPECT_EQ(os.input.sent.size(), 1u);
}

}  // namespace
}  // namespace vantrel::testing
