#include "interpreter/script_host.h"

#include "script/dates.h"

namespace vantrel {

namespace {

constexpr long kSerialEpochFrom1970 = 25569;  // 1899-12-30 to 1970-01-01

}  // namespace

bool ConsoleScriptHost::KeepGoing() {
    return keepGoing_();
}

double ToSerialDate(const LocalTime& t) {
    double days =
        static_cast<double>(script::DaysFromCivil(t.year, t.month, t.day) + kSerialEpochFrom1970);
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

// With its milliseconds, for Timer; Now and Time drop them.
double ConsoleScriptHost::Now() const {
    const LocalTime now = clock_.Now();
    return ToSerialDate(now) + now.millisecond / 86400000.0;
}

std::string ConsoleScriptHost::FormatDate(const script::DateParts& d) const {
    return clock_.FormatDate(FromDateParts(d));
}

std::string ConsoleScriptHost::FormatLongDate(const script::DateParts& d) const {
    return clock_.FormatLongDate(FromDateParts(d));
}

std::string ConsoleScriptHost::FormatTime(const script::DateParts& d) const {
    return clock_.FormatTime(FromDateParts(d));
}

}  // namespace vantrel
