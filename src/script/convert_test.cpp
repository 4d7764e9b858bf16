#include "script/convert.h"

#include <gtest/gtest.h>

#include "script/errors.h"

namespace script {
namespace {

TEST(ScriptConvert, ParseNumber) {
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"12", true, 12},      {"  12  ", true, 12}, {"-1.5", true, -1.5}, {"+3", true, 3},
        {"1,000", true, 1000}, {".5", true, 0.5},    {"1e3", true, 1000},  {"1D2", true, 100},
        {"&HFF", true, 255},   {"&HFFFF", true, -1}, {"&O17", true, 15},   {"", false, 0},
        {"   ", false, 0},     {"abc", false, 0},    {"1e", false, 0},     {"1.2.3", false, 0},
        {"12abc", false, 0},   {"&HZZ", false, 0},   {",5", false, 0},     {"- 2", true, -2},
        {"1e-400", true, 0},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(ParseNumber(c.text, &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(ScriptConvert, HugeTextOverflows) {
    double v = 0;
    try {
        ParseNumber("1e400", &v);
        FAIL() << "expected overflow";
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.number, kErrOverflow);
    }
}

TEST(ScriptConvert, BankersRounding) {
    const struct {
        double in, out;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2}, {-0.5, 0},
                 {-1.5, -2}, {-2.5, -2}, {2.4, 2}, {2.6, 3}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(ScriptConvert, IntegerConversions) {
    EXPECT_EQ(ToInteger(Value::Double(2.5)), 2);
    EXPECT_EQ(ToLong(Value::String("7.5")), 8);
    EXPECT_EQ(ToLong(Value::Boolean(true)), -1);
    EXPECT_EQ(ToByte(Value::Integer(255)), 255);
    EXPECT_THROW(ToByte(Value::Integer(256)), ScriptError);
    EXPECT_THROW(ToLong(Value::Double(2147483647.5)), ScriptError);
    EXPECT_THROW(ToLong(Value::Null()), ScriptError);
    EXPECT_EQ(ToCurrency(Value::Double(1.23456)), 12346);
}

TEST(ScriptConvert, Booleans) {
    EXPECT_TRUE(ToBoolean(Value::String("TRUE")));
    EXPECT_FALSE(ToBoolean(Value::String("false")));
    EXPECT_TRUE(ToBoolean(Value::String("-1")));
    EXPECT_FALSE(ToBoolean(Value()));
    EXPECT_THROW(ToBoolean(Value::String("yes")), ScriptError);
}

TEST(ScriptConvert, Strings) {
    const Host& host = DefaultHost();
    EXPECT_EQ(ToString(Value::Boolean(true), host), "True");
    EXPECT_EQ(ToString(Value(), host), "");
    EXPECT_EQ(ToString(Value::Double(0.1), host), "0.1");
    EXPECT_EQ(ToString(Value::Date(37623.5), host), "1/2/2003 12:00:00 PM");
    EXPECT_EQ(ToString(Value::Date(0.25), host), "6:00:00 AM");
    EXPECT_EQ(ToString(Value::Date(37623), host), "1/2/2003");
    EXPECT_THROW(ToString(Value::Null(), host), ScriptError);
}

TEST(ScriptConvert, CaseMappingCoversTheCodePage) {
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        const unsigned char up = static_cast<unsigned char>(UpperChar(ch));
        const unsigned char low = static_cast<unsigned char>(LowerChar(ch));
        if (up != c) {
            EXPECT_EQ(static_cast<unsigned char>(LowerChar(static_cast<char>(up))), c) << c;
        }
        if (low != c) {
            EXPECT_EQ(static_cast<unsigned char>(UpperChar(static_cast<char>(low))), c) << c;
        }
    }
    EXPECT_EQ(ToUpper("a\xE0\xF7\xFF\x9A"), "A\xC0\xF7\x9F\x8A");
    EXPECT_EQ(ToLower("Z\xDE\xD7\x8C"), "z\xFE\xD7\x9C");
    EXPECT_TRUE(
        EqualsNoCase("Stra\xDF"
                     "e",
                     "STRA\xDF"
                     "E"));
}

TEST(ScriptConvert, CodePageRoundTrip) {
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        EXPECT_EQ(FromUnicode(ToUnicode(ch)), ch) << c;
    }
    EXPECT_EQ(ToUnicode('\x80'), 0x20AC);
    EXPECT_EQ(FromUnicode(0x4E00), '?');
    EXPECT_LT(CompareBinary("\xFF", "\x80"), 0);
    EXPECT_EQ(CompareText("ABC", "abc"), 0);
}

TEST(ScriptConvert, HexDigits) {
    const std::string_view digits = "0123456789abcdef", upper = "ABCDEF";
    for (int i = 0; i < 16; ++i) EXPECT_EQ(HexDigitValue(digits[i]), i) << digits[i];
    for (int i = 0; i < 6; ++i) EXPECT_EQ(HexDigitValue(upper[i]), 10 + i) << upper[i];
    for (char c : std::string_view("/:@G`g ")) EXPECT_EQ(HexDigitValue(c), -1) << c;
}

}  // namespace
}  // namespace script
