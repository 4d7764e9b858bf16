#include "interpreter/text.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using namespace std::string_literals;

TEST(Text, ReplaceAllWithoutCaseReplacesWholeCharacters) {
    EXPECT_EQ(ReplaceAll("x`A`x`a`", "`a`", "5", true), "x5x5");
    EXPECT_EQ(ReplaceAll("Ä-ä", "ä", "ae", true), "ae-ae");
    EXPECT_EQ(ReplaceAll("\u212Aey-key", "key", "k", true), "k-k");  // the Kelvin sign is K
}

TEST(Text, LeadingNumberReadsTheStartOfATextOnly) {
    // clang-format off
    const std::pair<const char*, double> cases[] = {
        {"1", 1},      {"  20 lines", 20}, {"on", 0},  {"", 0},       {"-5", -5},
        {"2.5x", 2.5}, {"1e3", 1000},      {"1e", 1},  {"&HFF", 255}, {"&o17", 15},
        {".5", 0.5},   {"+7", 7},          {"inf", 0}, {"nan", 0},    {"1e999", 0},
        // What the script makes of the same text.
        {"&HFFFF", -1}, {" &H10000x", 65536}, {"&HFFFFFFFF", -1}, {"&H100000000", 0},
    };
    // clang-format on
    for (auto [text, value] : cases) EXPECT_EQ(LeadingNumber(text), value) << text;
}

TEST(Text, SplitLinesTakesEveryLineEnd) {
    using Lines = std::vector<std::string>;
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc\r\n\r\nd", {"a", "b", "c", "", "d"}},
        {"\r\n", {""}},
        {"\n\r", {"", ""}},  // LF, then CR: two line ends
        {"a\0b"s, {"a\0b"s}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(SplitLines(text), lines) << text;
}

}  // namespace
}  // namespace vantrel
