#include "interpreter/script_host.h"

namespace vantrel {

namespace {

// Days from 1970-01-01 to y-m-d in the proleptic Gregorian calendar.
long DaysFromCivil(long y, long m, long d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr long kSerialEpochFrom1970 = 25569;  // 1899-12-30 to 1970-01-01

}  // namespace

double ToSerialDate(const LocalTime& t) {
    double days = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) + kSerialEpochFrom1970);
    double fraction = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
    return days + fraction;
}

LocalTime FromDateParts(const script::DateParts& d) {
    LocalTime t;
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    t.hour = d.hour;
    t.minute = d.minute;
    t.second = d.second;
    return t;
}

double ClockScriptHost::Now() const {
    return ToSerialDate(clock_.Now());
}

std::string ClockScriptHost::FormatDate(const script::DateParts& d) const {
    return clock_.FormatDate(FromDateParts(d));
}

std::string ClockScriptHost::FormatTime(const script::DateParts& d) const {
    return clock_.FormatTime(FromDateParts(d));
}

}  // namespace vantrel
