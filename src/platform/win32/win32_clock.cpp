#include "platform/win32/win32_clock.h"

#include "platform/win32/win32_api.h"
#include "text/char_class.h"
#include "text/number_settings.h"

namespace vantrel::win32 {

namespace {

SYSTEMTIME ToSystemTime(const LocalTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    st.wMilliseconds = static_cast<WORD>(t.millisecond);
    // The formatting calls want the day of the week to agree with the date.
    FILETIME ft;
    if (SystemTimeToFileTime(&st, &ft)) FileTimeToSystemTime(&ft, &st);
    return st;
}

// One of a locale's settings as text; "" when it has none. (A short date
// picture may be 80 characters long.)
std::string LocaleText(LCID locale, LCTYPE what) {
    char buffer[128];
    int length = GetLocaleInfoA(locale, what, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length - 1)) : std::string();
}

// A numeric setting, or fallback when the locale has none or it is no
// small number.
int LocaleNumber(LCID locale, LCTYPE what, int fallback) {
    std::string text = LocaleText(locale, what);
    if (text.empty() || text.size() > 2) return fallback;
    int value = 0;
    for (char c : text) {
        if (!text::IsAsciiDigit(c)) return fallback;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

text::NumberSettings NumberSettingsOf(unsigned long locale) {
    text::NumberSettings s;
    const LCID id = static_cast<LCID>(locale);
    if (std::string decimal = LocaleText(id, LOCALE_SDECIMAL); !decimal.empty()) {
        s.decimal = decimal;
    }
    s.grouping = LocaleText(id, LOCALE_STHOUSAND);
    // "3;0" is groups of three; "3;2;0" (groups of three, then two) is
    // taken as groups of three, the one size the formatter knows.
    std::string grouping = LocaleText(id, LOCALE_SGROUPING);
    if (!grouping.empty() && text::IsAsciiDigit(grouping[0])) {
        s.groupSize = grouping[0] - '0';
    }
    s.digits = LocaleNumber(id, LOCALE_IDIGITS, s.digits);
    s.leadingZero = LocaleNumber(id, LOCALE_ILZERO, 1) == 1;
    // Negative number form 0 is "(1.1)"; the others put a minus sign.
    s.negativeParens = LocaleNumber(id, LOCALE_INEGNUMBER, 1) == 0;
    if (std::string symbol = LocaleText(id, LOCALE_SCURRENCY); !symbol.empty()) {
        s.currency = symbol;
    }
    s.currencyDigits = LocaleNumber(id, LOCALE_ICURRDIGITS, s.currencyDigits);
    // The positive currency forms are numbered as the settings number them.
    int placement = LocaleNumber(id, LOCALE_ICURRENCY, s.currencyPlacement);
    if (placement >= 0 && placement <= 3) s.currencyPlacement = placement;
    // Negative currency forms 0, 4, 14 and 15 are the ones in parentheses.
    int negative = LocaleNumber(id, LOCALE_INEGCURR, 0);
    s.currencyNegativeParens = negative == 0 || negative == 4 || negative == 14 || negative == 15;
    return s;
}

text::DateOrder DateOrderOf(unsigned long locale) {
    const LCID id = static_cast<LCID>(locale);
    // The short date picture is what GetDateFormat writes with, so the
    // order read from it is the order of the dates shown; text in quotes
    // ("yyyy'年'M'月'd'日'") is no part of it.
    bool quoted = false;
    for (char c : LocaleText(id, LOCALE_SSHORTDATE)) {
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && (c == 'd' || c == 'M' || c == 'y')) {
            return c == 'd'   ? text::DateOrder::kDayMonthYear
                   : c == 'y' ? text::DateOrder::kYearMonthDay
                              : text::DateOrder::kMonthDayYear;
        }
    }
    switch (LocaleNumber(id, LOCALE_IDATE, 0)) {
        case 1:
            return text::DateOrder::kDayMonthYear;
        case 2:
            return text::DateOrder::kYearMonthDay;
        default:
            return text::DateOrder::kMonthDayYear;
    }
}

text::DateOrder Win32Clock::ShortDateOrder() const {
    return DateOrderOf(LOCALE_USER_DEFAULT);
}

text::NumberSettings Win32Clock::Numbers() const {
    return NumberSettingsOf(LOCALE_USER_DEFAULT);
}

LocalTime Win32Clock::Now() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return LocalTime{st.wYear,   st.wMonth,  st.wDay,         st.wHour,
                     st.wMinute, st.wSecond, st.wMilliseconds};
}

std::uint64_t Win32Clock::Milliseconds() const {
    return GetTickCount64();
}

bool Win32Clock::SetNow(const LocalTime& time) {
    SYSTEMTIME st = ToSystemTime(time);
    return SetLocalTime(&st) != FALSE;
}

namespace {

std::string DateText(const LocalTime& time, DWORD form) {
    SYSTEMTIME st = ToSystemTime(time);
    char buffer[128];
    int length = GetDateFormatA(LOCALE_USER_DEFAULT, form, &st, nullptr, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, length - 1) : std::string();
}

}  // namespace

std::string Win32Clock::FormatDate(const LocalTime& time) const {
    return DateText(time, DATE_SHORTDATE);
}

std::string Win32Clock::FormatLongDate(const LocalTime& time) const {
    return DateText(time, DATE_LONGDATE);
}

std::string Win32Clock::FormatTime(const LocalTime& time) const {
    SYSTEMTIME st = ToSystemTime(time);
    char buffer[128];
    int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, length - 1) : std::string();
}

}  // namespace vantrel::win32
