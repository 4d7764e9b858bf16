#include "text/hex.h"

#include <gtest/gtest.h>

#include <sstream>

#include "text/char_class.h"
#include "text/text_cases_testing.h"

namespace text {
namespace {

TEST(Hex, ReadsDigitsAndTheScriptsNumbers) {
    for (const TextCase& c : ReadCases("src/text/testdata/hex.txt")) {
        SCOPED_TRACE(c.where);
        if (c[0] == "digits") {
            std::istringstream values(c[2]);
            for (const char digit : c[1]) {
                int value = -1;
                values >> value;
                EXPECT_EQ(HexDigitValue(digit), value) << digit;
            }
            for (char32_t code = 0; code < 256; ++code) {
                EXPECT_EQ(HexDigitValue(code) >= 0, IsHexDigit(code)) << static_cast<int>(code);
            }
        } else if (c[0] == "read") {
            EXPECT_EQ(ReadHex(c[1], c.Size(2), c.Size(3)), c.Int(4));
            const std::u16string units(c[1].begin(), c[1].end());
            EXPECT_EQ(ReadHex(units, c.Size(2), c.Size(3)), c.Int(4));
        } else if (c[0] == "leading") {
            EXPECT_EQ(static_cast<std::uint32_t>(LeadingHex(c[1], c.Size(2))), c.Int(3));
        } else {
            ASSERT_EQ(c[0], "number");
            std::int32_t value = 0;
            bool integer = false;
            const size_t length = ReadRadixNumber(c[1], &value, &integer);
            EXPECT_EQ(length, c.Size(2));
            if (length > 0) {
                EXPECT_EQ(value, c.Int(3));
                EXPECT_EQ(integer, c.Flag(4));
            }
        }
    }
}

}  // namespace
}  // namespace text
