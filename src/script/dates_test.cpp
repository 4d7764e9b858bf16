#include "script/dates.h"

#include <gtest/gtest.h>

namespace script {
namespace {

TEST(ScriptDates, SerialsRoundTrip) {
    const struct {
        int y, m, d;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0},    {1900, 1, 1, 2},         {2003, 1, 2, 37623},
        {100, 1, 1, -657434}, {9999, 12, 31, 2958465}, {1899, 12, 29, -1},
    };
    for (const auto& c : cases) {
        double s = -1e9;
        ASSERT_TRUE(DaySerial(c.y, c.m, c.d, &s));
        EXPECT_EQ(s, c.serial);
        const DateParts p = SplitDate(c.serial);
        EXPECT_EQ(p.year, c.y);
        EXPECT_EQ(p.month, c.m);
        EXPECT_EQ(p.day, c.d);
    }
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    double s;
    EXPECT_FALSE(DaySerial(10000, 1, 1, &s));
    ASSERT_TRUE(DaySerial(2003, 14, 0, &s));  // rolls over like DateSerial
    EXPECT_EQ(SplitDate(s).month, 1);
    EXPECT_EQ(SplitDate(s).year, 2004);
    // Before day 0 the time of day still counts forwards.
    const DateParts p = SplitDate(-1.25);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 6);
    EXPECT_EQ(WeekdayOf(37623), 5);
    const DateParts t{2003, 1, 2, 0, 4, 5};
    EXPECT_EQ(DefaultShortDate(t), "1/2/2003");
    EXPECT_EQ(DefaultLongTime(t), "12:04:05 AM");
    EXPECT_EQ(DefaultLongDate(t), "Thursday, January 2, 2003");
}

TEST(ScriptDates, Parsing) {
    const struct {
        const char* text;
        bool ok;
        double serial;
    } cases[] = {
        // clang-format off
        {"1/2/2003", true, 37623}, {"2003-01-02", true, 37623}, {"January 2, 2003", true, 37623},
        {"2 Jan 2003", true, 37623}, {"1/2/03", true, 37623}, {"13/1/2003", true, 37634},
        {"6:00", true, 0.25}, {"6 PM", true, 0.75}, {"1/2/2003 12:00 PM", true, 37623.5},
        {"12:00:00 AM", true, 0}, {"1/2", true, 37623}, {"2/29/2003", false, 0},
        {"hello", false, 0}, {"25:00", false, 0}, {"", false, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        double s = -1;
        EXPECT_EQ(ParseDateDefault(c.text, 2003, &s), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(s, c.serial) << c.text;
        }
    }
}

}  // namespace
}  // namespace script
