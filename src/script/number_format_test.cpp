#include "script/number_format.h"

#include <gtest/gtest.h>

namespace script {
namespace {

TEST(ScriptNumberFormat, Doubles) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        // clang-format off
        {0, "0"},                                   {-0.0, "0"},
        {1, "1"},                                   {-0.5, "-0.5"},
        {1.0 / 3, "0.333333333333333"},             {2.0 / 3, "0.666666666666667"},
        {1024, "1024"},                             {1e20, "1E+20"},
        {1e15, "1E+15"},                            {123456789012345, "123456789012345"},
        {1234567890123456, "1.23456789012346E+15"}, {9999999999999999.0, "1E+16"},
        {0.1234567890123456, "0.123456789012346"},  {0.0001, "0.0001"},
        {0.00001, "1E-05"},                         {1.5e-7, "1.5E-07"},
        {1e100, "1E+100"},                          {-1e-100, "-1E-100"},
        {1.1 + 2.2, "3.3"},                         {100.0 * 1.1, "110"},
        {1e300 * 1e8, "1E+308"},                    {12345.678, "12345.678"},
        // clang-format on
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDouble(c.value), c.text) << c.text;
    EXPECT_EQ(FormatSingle(0.1f), "0.1");
    EXPECT_EQ(FormatSingle(1.0f / 3), "0.3333333");
    EXPECT_EQ(FormatSingle(1e10f), "1E+10");
    EXPECT_EQ(FormatCurrency(15000), "1.5");
    EXPECT_EQ(FormatCurrency(-12345), "-1.2345");
    EXPECT_EQ(FormatCurrency(10000), "1");
    EXPECT_EQ(FormatCurrency(1), "0.0001");
    EXPECT_EQ(FormatCurrency(INT64_MIN), "-922337203685477.5808");
}

}  // namespace
}  // namespace script
