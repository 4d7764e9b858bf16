#include "console/keyboard.h"

#include <gtest/gtest.h>

#include "console/keystrokes.h"
#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using KeyboardTest = InterpreterTest;

TEST_F(KeyboardTest, FunctionKeysTypeOnlyUnmodifiedAndLocally) {
    // clang-format off
    const struct { ConsoleState state; int key, modifiers; const char* variable; } cases[] = {
        {kLocal, 112, 0, "F1"}, {kLocal, 123, 0, "F12"}, {kLocal, 116, 0, "F5"},
        {kLocal, 112, kModShift, ""}, {kLocal, 112, kModCtrl, ""}, {kLocal, 111, 0, ""},
        {kLocal, 124, 0, ""}, {kRemoteLink, 112, 0, ""}, {kAccountPassword, 116, 0, ""},
        {kServing, 121, 0, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(FunctionKeyVariable(c.state, c.key, c.modifiers), c.variable)
            << c.state << " " << c.key << " " << c.modifiers;
    }
}

TEST_F(KeyboardTest, FocusHotkeyPollsTheKeyAndSendsBackspaceWhenAsked) {
    EXPECT_FALSE(FocusHotkeyPressed(in));
    os.input.down.insert(0xA3);
    EXPECT_TRUE(FocusHotkeyPressed(in));
    EXPECT_TRUE(os.input.sent.empty());
    in.SetVar("FocusKeyDel", "1");
    EXPECT_TRUE(FocusHotkeyPressed(in));
    ASSERT_EQ(os.input.sent.size(), 1u);
    EXPECT_EQ(os.input.sent[0], (std::vector<KeyStroke>{{KeyStroke::kVirtualKey, kVkBack}}));
}

}  // namespace
}  // namespace vantrel::testing
