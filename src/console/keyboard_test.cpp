#include "console/keyboard.h"

#include <gtest/gtest.h>

#include "interpreter/keystrokes.h"
#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using KeyboardTest = InterpreterTest;

// The default macros: every function key types, all but F10 also run.
TEST_F(KeyboardTest, FunctionKeysTypeTheirMacrosAndAllButF10RunThem) {
    for (int n = 1; n <= 12; ++n) {
        os.input.sent.clear();
        EXPECT_TRUE(TypeFunctionKey(in, kLocal, kVkF1 + n - 1, 0)) << n;
        ASSERT_EQ(os.input.sent.size(), 1u) << "F" << n;
        const KeyStroke enter{KeyStroke::kVirtualKey, kVkReturn};
        EXPECT_EQ(os.input.sent[0].back() == enter, n != 10) << "F" << n;
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
