#include "platform/win32/win32_clock.h"

#include <gtest/gtest.h>

#include <ctime>
#include <tuple>
#include <vector>

#include "platform/win32/win32_api.h"
#include "text/number_settings.h"

namespace vantrel::win32 {
namespace {

const LCID kEnglishUs = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

TEST(Win32ClockTest, NowIsTheLocalTime) {
    // The C runtime's local time around the clock's; once more should the
    // minute turn in between.
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::time_t before = std::time(nullptr);
        LocalTime now = Win32Clock().Now();
        if (before / 60 != std::time(nullptr) / 60) continue;
        std::tm tm = *std::localtime(&before);
        EXPECT_EQ(std::vector<int>({now.year, now.month, now.day, now.hour, now.minute}),
                  std::vector<int>(
                      {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min}));
        return;
    }
}

TEST(Win32ClockTest, RegionalFormsInEnglishUnitedStates) {
    // An impossible date has no text in any language.
    EXPECT_EQ(Win32Clock().FormatDate(LocalTime{2023, 2, 30}), "");
    if (GetUserDefaultLCID() != kEnglishUs) GTEST_SKIP() << "the texts are English (US) ones";
    EXPECT_EQ(Win32Clock().FormatDate(LocalTime{2024, 3, 5, 13, 2, 3}), "3/5/2024");
    EXPECT_EQ(Win32Clock().FormatTime(LocalTime{2024, 3, 5, 13, 2, 3}), "1:02:03 PM");
}

// German differs from the US English defaults in every setting it shows.
TEST(Win32ClockTest, NumberSettingsFollowTheLocale) {
    text::NumberSettings german =
        NumberSettingsOf(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    EXPECT_EQ(std::tuple(german.decimal, german.grouping, german.groupSize, german.currency,
                         german.currencyPlacement, german.currencyNegativeParens),
              // The euro sign in Windows-1252, after the amount with a space.
              std::tuple(",", ".", 3, "\x80", 3, false));
}

// The order typed dates are read in is the one the locale's short date
// writes.
TEST(Win32ClockTest, DateOrderFollowsTheLocale) {
    const std::tuple<LANGID, text::DateOrder> cases[] = {
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text::DateOrder::kMonthDayYear},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), text::DateOrder::kDayMonthYear},
        {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), text::DateOrder::kDayMonthYear},
        {MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), text::DateOrder::kYearMonthDay},
    };
    for (const auto& [language, order] : cases)
        EXPECT_EQ(DateOrderOf(MAKELCID(language, SORT_DEFAULT)), order) << language;
}

}  // namespace
}  // namespace vantrel::win32
