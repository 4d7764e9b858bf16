#include "interpreter/text.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(Text, ReplaceAllWithoutCaseReplacesWholeCharacters) {
    EXPECT_EQ(ReplaceAll("x`A`x`a`", "`a`", "5", true), "x5x5");
    EXPECT_EQ(ReplaceAll("Ä-ä", "ä", "ae", true), "ae-ae");
    EXPECT_EQ(ReplaceAll("\u212Aey-key", "key", "k", true), "k-k");  // the Kelvin sign is K
}

TEST(Text, LeadingNumberReadsTheStartOfATextOnly) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"1", 1},      {"  20 lines", 20}, {"on", 0},  {"", 0},       {"-5", -5},
        {"2.5x", 2.5}, {"1e3", 1000},      {"1e", 1},  {"&HFF", 255}, {"&o17", 15},
        {".5", 0.5},   {"+7", 7},          {"inf", 0}, {"nan", 0},    {"1e999", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
}

TEST(Text, SplitLinesTakesEveryLineEnd) {
    using Lines = std::vector<std::string>;
    struct Case {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc\r\n\r\nd", {"a", "b", "c", "", "d"}},
        {"\r\n", {""}},
        {"\n\r", {"", ""}},  // LF, then CR: two line ends
        {std::string("a\0b", 3), {std::string("a\0b", 3)}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

}  // namespace
}  // namespace vantrel
