#include "console/keyboard.h"

#include <gtest/gtest.h>

#include "console/keystrokes.h"
#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using KeyboardTest = InterpreterTest;

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
