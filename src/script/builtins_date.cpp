// Date and time functions. Dates are OLE serials; arithmetic is done on a
// linear scale where negative dates still run forwards through the day.
#include <cmath>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/dates.h"
#include "script/nodes.h"
#include "text/case_fold.h"

namespace script {
namespace {

double ToLinear(double serial) {
    const double day = std::trunc(serial);
    return day + std::fabs(serial - day);
}

double FromLinear(double x) {
    if (x >= 0) return x;
    const double day = std::floor(x);
    const double frac = x - day;
    return frac == 0 ? day : day - frac;
}

Value MakeDate(double serial) {
    if (!IsValidDate(serial)) Throw(kErrInvalidCall);
    return Value::Date(serial);
}

double DateArg(Frame& f, const Value& v) {
    return ToDate(Dereference(f.rt, v), f.rt.host);
}

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int64_t Seconds(double serial) {
    return std::llround(ToLinear(serial) * 86400.0);
}

int DayOfYear(const DateParts& p) {
    double first = 0, day = 0;
    DaySerial(p.year, 1, 1, &first);
    DaySerial(p.year, p.month, p.day, &day);
    return static_cast<int>(day - first) + 1;
}

int FirstDay(const Value* a, int n, int i) {
    if (!Present(a, n, i)) return 1;
    const int32_t d = ToLong(a[i]);
    if (d < 0 || d > 7) Throw(kErrInvalidCall);
    return d == 0 ? 1 : d;
}

// The firstweekofyear argument: 1 the week of January 1 (the default, and
// what 0, the system's choice, means here), 2 the first week with four days
// of the year, 3 the first full week.
constexpr int kFirstJan1 = 1, kFirstFourDays = 2, kFirstFullWeek = 3;

int FirstWeekRule(const Value* a, int n, int i) {
    if (!Present(a, n, i)) return kFirstJan1;
    const int32_t rule = ToLong(a[i]);
    if (rule < 0 || rule > kFirstFullWeek) Throw(kErrInvalidCall);
    return rule == 0 ? kFirstJan1 : rule;
}

enum class Interval {
    kYear,
    kQuarter,
    kMonth,
    kDayOfYear,
    kDay,
    kWeekday,
    kWeek,
    kHour,
    kMinute,
    kSecond
};

Interval ParseInterval(Frame& f, const Value& v) {
    const std::string s = text::LowerCase(ArgText(f, v));
    if (s == "yyyy") return Interval::kYear;
    if (s == "q") return Interval::kQuarter;
    if (s == "m") return Interval::kMonth;
    if (s == "y") return Interval::kDayOfYear;
    if (s == "d") return Interval::kDay;
    if (s == "w") return Interval::kWeekday;
    if (s == "ww") return Interval::kWeek;
    if (s == "h") return Interval::kHour;
    if (s == "n") return Interval::kMinute;
    if (s == "s") return Interval::kSecond;
    Throw(kErrInvalidCall);
}

Value Part(Frame& f, Value* a, int (*pick)(const DateParts&)) {
    if (a[0].IsNull()) return Value::Null();
    return Value::Integer(static_cast<int16_t>(pick(SplitDate(DateArg(f, a[0])))));
}

// Now and Time are whole seconds; only Timer shows the fraction the host's
// clock gives. The small lift keeps a whole second that the serial cannot
// hold exactly from falling to the one before.
double WholeSeconds(double serial) {
    return std::floor(serial * 86400.0 + 1e-5) / 86400.0;
}

Value Now(Frame& f, Value*, int) {
    return Value::Date(WholeSeconds(f.rt.host.Now()));
}
Value DateFn(Frame& f, Value*, int) {
    return Value::Date(std::floor(f.rt.host.Now()));
}
Value Time(Frame& f, Value*, int) {
    const double now = WholeSeconds(f.rt.host.Now());
    return Value::Date(now - std::floor(now));
}
Value Timer(Frame& f, Value*, int) {
    const double now = f.rt.host.Now();
    const double secs = std::round((now - std::floor(now)) * 86400.0 * 100.0) / 100.0;
    return Value::Single(static_cast<float>(secs));
}

Value Year(Frame& f, Value* a, int) {
    return Part(f, a, [](const DateParts& p) { return p.year; });
}
Value Month(Frame& f, Value* a, int) {
    return Part(f, a, [](const DateParts& p) { return p.month; });
}
Value Day(Frame& f, Value* a, int) {
    return Part(f, a, [](const DateParts& p) { return p.day; });
}
Value Hour(Frame& f, Value* a, int) {
    return Part(f, a, [](const DateParts& p) { return p.hour; });
}
Value Minute(Frame& f, Value* a, int) {
    return Part(f, a, [](const DateParts& p) { return p.minute; });
}
Value Second(Frame& f, Value* a, int) {
    return Part(f, a, [](const DateParts& p) { return p.second; });
}

Value Weekday(Frame& f, Value* a, int n) {
    if (a[0].IsNull()) return Value::Null();
    const int first = FirstDay(a, n, 1);
    const int w = WeekdayOf(DateArg(f, a[0]));
    return Value::Integer(static_cast<int16_t>((w - first + 7) % 7 + 1));
}

Value WeekdayName(Frame&, Value* a, int n) {
    const int32_t day = ArgLong(a[0]);
    if (day < 1 || day > 7) Throw(kErrInvalidCall);
    const bool abbreviate = Present(a, n, 1) && ToBoolean(a[1]);
    const int first = FirstDay(a, n, 2);
    std::string name = kDayNames[(day - 1 + first - 1) % 7];
    if (abbreviate) name.resize(3);
    return Value::String(std::move(name));
}

Value MonthName(Frame&, Value* a, int n) {
    const int32_t month = ArgLong(a[0]);
    if (month < 1 || month > 12) Throw(kErrInvalidCall);
    std::string name = kMonthNames[month - 1];
    if (Present(a, n, 1) && ToBoolean(a[1])) name.resize(3);
    return Value::String(std::move(name));
}

Value DateSerial(Frame& f, Value* a, int) {
    for (int i = 0; i < 3; ++i) {
        if (a[i].IsNull()) Throw(kErrInvalidNull);
    }
    int32_t year = ToLong(Dereference(f.rt, a[0]));
    if (year >= 0 && year < 30) year += 2000;
    if (year >= 30 && year < 100) year += 1900;
    double serial = 0;
    if (!DaySerial(year, ToLong(a[1]), ToLong(a[2]), &serial)) Throw(kErrInvalidCall);
    return Value::Date(serial);
}

Value TimeSerial(Frame&, Value* a, int) {
    for (int i = 0; i < 3; ++i) {
        if (a[i].IsNull()) Throw(kErrInvalidNull);
    }
    const double secs = ToLong(a[0]) * 3600.0 + ToLong(a[1]) * 60.0 + ToLong(a[2]);
    return MakeDate(FromLinear(secs / 86400.0));
}

Value DateValue(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::Date(std::trunc(DateArg(f, a[0])));
}

Value TimeValue(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    const double d = DateArg(f, a[0]);
    return Value::Date(std::fabs(d - std::trunc(d)));
}

double AddMonths(double serial, int64_t months) {
    const DateParts p = SplitDate(serial);
    const int64_t total = static_cast<int64_t>(p.year) * 12 + (p.month - 1) + months;
    const int year = static_cast<int>(FloorDiv(total, 12));
    const int month = static_cast<int>(total - static_cast<int64_t>(year) * 12) + 1;
    double day = 0;
    const int last = DaysInMonth(year, month);
    if (year < 100 || year > 9999 || !DaySerial(year, month, std::min(p.day, last), &day)) {
        Throw(kErrInvalidCall);
    }
    const double time = std::fabs(serial - std::trunc(serial));
    return FromLinear(day + time);
}

Value DateAdd(Frame& f, Value* a, int) {
    const Interval in = ParseInterval(f, a[0]);
    if (a[1].IsNull() || a[2].IsNull()) Throw(kErrInvalidNull);
    const int64_t count = ToLong(Dereference(f.rt, a[1]));
    const double date = DateArg(f, a[2]);
    double seconds = 0;
    switch (in) {
        case Interval::kYear:
            return MakeDate(AddMonths(date, count * 12));
        case Interval::kQuarter:
            return MakeDate(AddMonths(date, count * 3));
        case Interval::kMonth:
            return MakeDate(AddMonths(date, count));
        case Interval::kDayOfYear:
        case Interval::kDay:
        case Interval::kWeekday:
            seconds = count * 86400.0;
            break;
        case Interval::kWeek:
            seconds = count * 7 * 86400.0;
            break;
        case Interval::kHour:
            seconds = count * 3600.0;
            break;
        case Interval::kMinute:
            seconds = count * 60.0;
            break;
        case Interval::kSecond:
            seconds = static_cast<double>(count);
            break;
    }
    return MakeDate(FromLinear((Seconds(date) + seconds) / 86400.0));
}

int64_t WeekStart(double serial, int first) {
    const int64_t day = FloorDiv(Seconds(serial), 86400);
    const int w = WeekdayOf(static_cast<double>(day));
    return day - (w - first + 7) % 7;
}

// The serial day the first week of a year starts on.
int64_t FirstWeekStart(int year, int first, int rule) {
    double jan1 = 0;
    DaySerial(year, 1, 1, &jan1);
    const int64_t start = WeekStart(jan1, first);
    const int64_t daysInYear = 7 - (static_cast<int64_t>(jan1) - start);
    if (rule == kFirstFourDays && daysInYear < 4) return start + 7;
    if (rule == kFirstFullWeek && daysInYear < 7) return start + 7;
    return start;
}

Value DateDiff(Frame& f, Value* a, int n) {
    const Interval in = ParseInterval(f, a[0]);
    if (a[1].IsNull() || a[2].IsNull()) return Value::Null();
    const double d1 = DateArg(f, a[1]);
    const double d2 = DateArg(f, a[2]);
    const int first = FirstDay(a, n, 3);
    const DateParts p1 = SplitDate(d1), p2 = SplitDate(d2);
    const int64_t s1 = Seconds(d1), s2 = Seconds(d2);
    int64_t r = 0;
    switch (in) {
        case Interval::kYear:
            r = p2.year - p1.year;
            break;
        case Interval::kQuarter:
            r = (p2.year * 4 + (p2.month - 1) / 3) - (p1.year * 4 + (p1.month - 1) / 3);
            break;
        case Interval::kMonth:
            r = (p2.year * 12 + p2.month) - (p1.year * 12 + p1.month);
            break;
        case Interval::kDayOfYear:
        case Interval::kDay:
            r = FloorDiv(s2, 86400) - FloorDiv(s1, 86400);
            break;
        case Interval::kWeekday:
            r = (FloorDiv(s2, 86400) - FloorDiv(s1, 86400)) / 7;
            break;
        case Interval::kWeek:
            r = (WeekStart(d2, first) - WeekStart(d1, first)) / 7;
            break;
        case Interval::kHour:
            r = FloorDiv(s2, 3600) - FloorDiv(s1, 3600);
            break;
        case Interval::kMinute:
            r = FloorDiv(s2, 60) - FloorDiv(s1, 60);
            break;
        case Interval::kSecond:
            r = s2 - s1;
            break;
    }
    return Value::Long(static_cast<int32_t>(r));
}

Value DatePart(Frame& f, Value* a, int n) {
    const Interval in = ParseInterval(f, a[0]);
    if (a[1].IsNull()) return Value::Null();
    const double d = DateArg(f, a[1]);
    const int first = FirstDay(a, n, 2);
    const DateParts p = SplitDate(d);
    int r = 0;
    switch (in) {
        case Interval::kYear:
            r = p.year;
            break;
        case Interval::kQuarter:
            r = (p.month - 1) / 3 + 1;
            break;
        case Interval::kMonth:
            r = p.month;
            break;
        case Interval::kDayOfYear:
            r = DayOfYear(p);
            break;
        case Interval::kDay:
            r = p.day;
            break;
        case Interval::kWeekday:
            r = (WeekdayOf(d) - first + 7) % 7 + 1;
            break;
        case Interval::kWeek: {
            const int rule = FirstWeekRule(a, n, 3);
            int64_t week1 = FirstWeekStart(p.year, first, rule);
            // Days before the year's first week are in the last week of the
            // year before.
            if (static_cast<int64_t>(std::floor(d)) < week1) {
                week1 = FirstWeekStart(p.year - 1, first, rule);
            }
            r = static_cast<int>((WeekStart(d, first) - week1) / 7) + 1;
            break;
        }
        case Interval::kHour:
            r = p.hour;
            break;
        case Interval::kMinute:
            r = p.minute;
            break;
        case Interval::kSecond:
            r = p.second;
            break;
    }
    return Value::Integer(static_cast<int16_t>(r));
}

Value FormatDateTime(Frame& f, Value* a, int n) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    const double d = DateArg(f, a[0]);
    const int32_t format = Present(a, n, 1) ? ToLong(a[1]) : 0;
    const DateParts p = SplitDate(d);
    const Host& host = f.rt.host;
    switch (format) {
        case 0:
            return Value::String(DateToText(d, host));
        case 1:
            return Value::String(host.FormatLongDate(p));
        case 2:
            return Value::String(host.FormatDate(p));
        case 3:
            return Value::String(host.FormatTime(p));
        case 4:
            return Value::String(host.FormatShortTime(p));
        default:
            Throw(kErrInvalidCall);
    }
}

const Builtin kTable[] = {
    {"now", 0, 0, Now, kPure},
    {"date", 0, 0, DateFn, kPure},
    {"time", 0, 0, Time, kPure},
    {"timer", 0, 0, Timer, kPure},
    {"year", 1, 1, Year, kPure},
    {"month", 1, 1, Month, kPure},
    {"day", 1, 1, Day, kPure},
    {"hour", 1, 1, Hour, kPure},
    {"minute", 1, 1, Minute, kPure},
    {"second", 1, 1, Second, kPure},
    {"weekday", 1, 2, Weekday, kPure},
    {"weekdayname", 1, 3, WeekdayName, kPure},
    {"monthname", 1, 2, MonthName, kPure},
    {"dateserial", 3, 3, DateSerial, kPure},
    {"timeserial", 3, 3, TimeSerial, kPure},
    {"datevalue", 1, 1, DateValue, kPure},
    {"timevalue", 1, 1, TimeValue, kPure},
    {"dateadd", 3, 3, DateAdd, kPure},
    {"datediff", 3, 5, DateDiff, kPure},
    {"datepart", 2, 4, DatePart, kPure},
    {"formatdatetime", 1, 2, FormatDateTime, kPure},
};

}  // namespace

BuiltinTable DateBuiltins() {
    return {kTable, std::size(kTable)};
}

}  // namespace script
