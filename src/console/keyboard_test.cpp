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

}  // namespace
}  // namespace vantrel::testing
