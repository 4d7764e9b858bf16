#include "script/convert.h"

#include <gtest/gtest.h>

namespace script {
namespace {

TEST(ScriptConvert, ParseNumber) {
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"12", true, 12},      {"  12  ", true, 12}, {"-1.5", true, -1.5},    {"+3", true, 3},
        {"1,000", true, 1000}, {".5", true, 0.5},    {"1e3", true, 1000},     {"1D2", true, 100},
        {"&HFF", true, 255},   {"&HFFFF", true, -1}, {"&O17", true, 15},      {"", false, 0},
        {"   ", false, 0},     {"abc", false, 0},    {"1e", false, 0},        {"1.2.3", false, 0},
        {"12abc", false, 0},   {"&HZZ", false, 0},   {",5", false, 0},        {"- 2", true, -2},
        {"1e-400", true, 0},   {"(5)", true, -5},    {"( 2.5 )", true, -2.5}, {"$5", true, 5},
        {"-$5", true, -5},     {"$-5", true, -5},    {"($5)", true, -5},      {"(5", false, 0},
        {"(-5)", false, 0},    {"--5", false, 0},    {"$", false, 0},         {"5$", false, 0},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(ParseNumber(c.text, &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(ScriptConvert, BankersRounding) {
    const struct {
        double in, out;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2}, {-0.5, 0},
                 {-1.5, -2}, {-2.5, -2}, {2.4, 2}, {2.6, 3}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
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
}

// The engine's own text is UTF-8: whole texts change case in every script.
TEST(ScriptConvert, TextCaseIsUnicode) {
    const struct {
        const char* text;
        const char* upper;
        const char* lower;
    } cases[] =
        {
            {"aàÿšœ÷×", "AÀŸŠŒ÷×", "aàÿšœ÷×"},
            {"Straße", "STRAßE", "straße"},  // ß has no one-character capital
            {"ΣίσυφοςΑ", "ΣΊΣΥΦΟΣΑ", "σίσυφοςα"},
            {"Привет", "ПРИВЕТ", "привет"},
            {"ԱբԳ", "ԱԲԳ", "աբգ"},
            {"Ｆｕｌｌ", "ＦＵＬＬ", "ｆｕｌｌ"},
            {"a\xE9z", "A\xE9Z", "a\xE9z"},  // a byte that is not UTF-8 is kept
        };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUpper(c.text), c.upper) << c.text;
        EXPECT_EQ(ToLower(c.text), c.lower) << c.text;
    }
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } pairs[] = {
        {"Straße", "STRAßE", true},
        {"ΣΊΣΥΦΟΣ", "σίσυφος", true},
        {"ς", "Σ", true},
        {"name", "NAME", true},
        {"Kelvin", "\u212Aelvin", true},
        {"ab", "abc", false},
        {"日本", "日本語", false},
        {"é", "e", false},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(EqualsNoCase(p.a, p.b), p.equal) << p.a << " " << p.b;
        EXPECT_EQ(CompareText(p.a, p.b) == 0, p.equal) << p.a << " " << p.b;
    }
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
    EXPECT_EQ(ReadHex("%41z", 1, 2), 0x41);
    EXPECT_EQ(ReadHex("%4", 1, 2), -1);
    EXPECT_EQ(ReadHex("%4g", 1, 2), -1);
}

}  // namespace
}  // namespace script
