#include <gtest/gtest.h>

#include <string_view>

#include "text/hex.h"
#include "text/windows_1252.h"

namespace text {
namespace {

TEST(Windows1252, EveryByteRoundTrips) {
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        EXPECT_EQ(ToWindows1252(FromWindows1252(ch)), ch) << c;
    }
    EXPECT_EQ(FromWindows1252('\x80'), 0x20AC);
    EXPECT_EQ(ToWindows1252(0x4E00), '?');
}

TEST(Hex, ReadsDigitsOfEitherCase) {
    const std::string_view digits = "0123456789abcdefABCDEF";
    for (int i = 0; i < 22; ++i) EXPECT_EQ(HexDigitValue(digits[i]), i < 16 ? i : i - 6) << i;
    for (char c : std::string_view("/:@G`g ")) EXPECT_EQ(HexDigitValue(c), -1) << c;
    EXPECT_EQ(ReadHex("%41z", 1, 2), 0x41);
    EXPECT_EQ(ReadHex("%4", 1, 2), -1);
    EXPECT_EQ(ReadHex("%4g", 1, 2), -1);
    EXPECT_EQ(LeadingHex("A3x", 4), 0xA3);
    EXPECT_EQ(LeadingHex("zz", 4), 0);
    EXPECT_EQ(LeadingHex("12345", 2), 0x12);
}

}  // namespace
}  // namespace text
