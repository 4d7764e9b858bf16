#include "platform/win32/win32_clock.h"

#include <gtest/gtest.h>

#include <ctime>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

TEST(Win32ClockTest, NowIsTheLocalTime) {
    Win32Clock clock;
    // Read the C runtime's local time around the clock's; retry once across
    // a change of minute.
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::time_t before = std::time(nullptr);
        LocalTime now = clock.Now();
        std::time_t after = std::time(nullptr);
        if (before / 60 != after / 60) continue;
        std::tm tm = *std::localtime(&before);
        EXPECT_EQ(now.year, tm.tm_year + 1900);
        EXPECT_EQ(now.month, tm.tm_mon + 1);
        EXPECT_EQ(now.day, tm.tm_mday);
        EXPECT_EQ(now.hour, tm.tm_hour);
        EXPECT_EQ(now.minute, tm.tm_min);
        return;
    }
}

TEST(Win32ClockTest, RegionalFormsInEnglishUnitedStates) {
    if (GetUserDefaultLCID() !=
        MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)) {
        GTEST_SKIP() << "the expected texts are those of English (United States)";
    }
    Win32Clock clock;
    LocalTime t{2024, 3, 5, 13, 2, 3, 0};
    EXPECT_EQ(clock.FormatDate(t), "3/5/2024");
    EXPECT_EQ(clock.FormatTime(t), "1:02:03 PM");
    LocalTime morning{1999, 12, 31, 0, 0, 9, 0};
    EXPECT_EQ(clock.FormatDate(morning), "12/31/1999");
    EXPECT_EQ(clock.FormatTime(morning), "12:00:09 AM");
}

TEST(Win32ClockTest, NumberSettingsFollowTheLocale) {
    script::NumberSettings us =
        NumberSettingsOf(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    EXPECT_EQ(us.decimal, ".");
    EXPECT_EQ(us.grouping, ",");
    EXPECT_EQ(us.groupSize, 3);
    EXPECT_EQ(us.digits, 2);
    EXPECT_TRUE(us.leadingZero);
    EXPECT_EQ(us.currency, "$");
    EXPECT_EQ(us.currencyPlacement, 0);

    script::NumberSettings german =
        NumberSettingsOf(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    EXPECT_EQ(german.decimal, ",");
    EXPECT_EQ(german.grouping, ".");
    EXPECT_EQ(german.groupSize, 3);
    EXPECT_FALSE(german.negativeParens);
    // The symbol after the amount, a space between.
    EXPECT_EQ(german.currencyPlacement, 3);
}

TEST(Win32ClockTest, InvalidDatesGiveNoText) {
    Win32Clock clock;
    EXPECT_EQ(clock.FormatDate(LocalTime{2023, 2, 30, 0, 0, 0, 0}), "");
}

}  // namespace
}  // namespace vantrel::win32
