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

// Halves go to the even neighbour. testdata/builtins.vbs rounds 2.5, 3.5
// and -2.5; a negative half must also round from its floor, not towards
// zero, which -1.5 shows.
TEST(ScriptConvert, BankersRounding) {
    const struct { double in, out; } cases[] = {{0.5, 0}, {-0.5, 0}, {-1.5, -2}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace script
