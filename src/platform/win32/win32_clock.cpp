#include "platform/win32/win32_clock.h"

#include "platform/win32/win32_api.h"

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

}  // namespace

LocalTime Win32Clock::Now() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return LocalTime{st.wYear,   st.wMonth,  st.wDay,         st.wHour,
                     st.wMinute, st.wSecond, st.wMilliseconds};
}

bool Win32Clock::SetNow(const LocalTime& time) {
    SYSTEMTIME st = ToSystemTime(time);
    return SetLocalTime(&st) != FALSE;
}

std::string Win32Clock::FormatDate(const LocalTime& time) const {
    SYSTEMTIME st = ToSystemTime(time);
    char buffer[128];
    int length =
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, length - 1) : std::string();
}

std::string Win32Clock::FormatTime(const LocalTime& time) const {
    SYSTEMTIME st = ToSystemTime(time);
    char buffer[128];
    int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, length - 1) : std::string();
}

}  // namespace vantrel::win32
