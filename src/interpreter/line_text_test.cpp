#include "interpreter/line_text.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(LineText, LeadingNumberReadsTheStartOfATextOnly) {
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

}  // namespace
}  // namespace vantrel
