#include "script/dates.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "script/convert.h"
#include "text/case_fold.h"
#include "text/char_class.h"

namespace script {

const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};
const char* const kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};

// Hinnant's method, both ways.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int* year, int* month, int* day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *year = static_cast<int>(yoe + era * 400 + (m <= 2));
    *month = m;
    *day = d;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

namespace {

// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kOleEpoch = -25569;

std::string TwoDigits(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

bool IsValidDate(double serial) {
    return serial >= kMinDate && serial < kMaxDate + 1e-9;
}

bool DaySerial(int year, int month, int day, double* serial) {
    int64_t y = year;
    int64_t m = month - 1;
    y += m >= 0 ? m / 12 : -((11 - m) / 12);
    m = ((m % 12) + 12) % 12;
    const int64_t first = DaysFromCivil(y, m + 1, 1) - kOleEpoch;
    const double s = static_cast<double>(first + (static_cast<int64_t>(day) - 1));
    if (s < kMinDate || s > kMaxDate) return false;
    *serial = s;
    return true;
}

double TimeFraction(double hour, double minute, double second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

DateParts SplitDate(double serial) {
    double dayPart = std::trunc(serial);
    double frac = std::fabs(serial - dayPart);
    int64_t secs = std::llround(frac * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        dayPart += serial < 0 ? -1 : 1;
    }
    DateParts p;
    CivilFromDays(static_cast<int64_t>(dayPart) + kOleEpoch, &p.year, &p.month, &p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    return p;
}

int WeekdayOf(double serial) {
    // 1899-12-30 was a Saturday.
    const int64_t day = static_cast<int64_t>(std::trunc(serial));
    return static_cast<int>(((day % 7) + 7 + 6) % 7) + 1;
}

std::string DefaultShortDate(const DateParts& d) {
    return std::to_string(d.month) + "/" + std::to_string(d.day) + "/" + std::to_string(d.year);
}

std::string DefaultLongTime(const DateParts& d) {
    const int h12 = d.hour % 12 == 0 ? 12 : d.hour % 12;
    return std::to_string(h12) + ":" + TwoDigits(d.minute) + ":" + TwoDigits(d.second) +
           (d.hour < 12 ? " AM" : " PM");
}

std::string DefaultLongDate(const DateParts& d) {
    double serial = 0;
    DaySerial(d.year, d.month, d.day, &serial);
    return std::string(kDayNames[WeekdayOf(serial) - 1]) + ", " + kMonthNames[d.month - 1] + " " +
           std::to_string(d.day) + ", " + std::to_string(d.year);
}

std::string DateToText(double serial, const Host& host) {
    const DateParts p = SplitDate(serial);
    const bool hasTime = p.hour != 0 || p.minute != 0 || p.second != 0;
    const bool hasDate = std::trunc(serial) != 0;
    if (!hasDate) return host.FormatTime(p);
    if (!hasTime) return host.FormatDate(p);
    return host.FormatDate(p) + " " + host.FormatTime(p);
}

namespace {

struct DateToken {
    enum Kind { kNumber, kMonth, kAm, kPm, kColon, kSep } kind;
    int value = 0;
    int digits = 0;
};

bool MatchMonth(const std::string& word, int* month) {
    if (word.size() < 3) return false;
    for (int i = 0; i < 12; ++i) {
        const std::string name = kMonthNames[i];
        if (word.size() > name.size()) continue;
        bool same = true;
        for (size_t k = 0; k < word.size() && same; ++k) {
            same = text::AsciiLower(name[k]) == word[k];
        }
        if (same) {
            *month = i + 1;
            return true;
        }
    }
    return false;
}

bool Tokenize(std::string_view text, std::vector<DateToken>* out) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (text::IsAsciiDigit(c)) {
            int64_t v = 0;
            int digits = 0;
            while (i < text.size() && text::IsAsciiDigit(text[i])) {
                if (v < 100000) v = v * 10 + (text[i] - '0');
                ++digits;
                ++i;
            }
            out->push_back({DateToken::kNumber, static_cast<int>(v), digits});
        } else if (text::IsAsciiLetter(c)) {
            std::string word;
            while (i < text.size() && text::IsAsciiLetter(text[i])) {
                word += text::AsciiLower(text[i]);
                ++i;
            }
            int month = 0;
            if (word == "am" || word == "a") {
                out->push_back({DateToken::kAm});
            } else if (word == "pm" || word == "p") {
                out->push_back({DateToken::kPm});
            } else if (MatchMonth(word, &month)) {
                out->push_back({DateToken::kMonth, month});
            } else {
                bool dayName = false;
                for (const char* d : kDayNames) {
                    if (word.size() >= 3 && text::LowerCase(d).compare(0, word.size(), word) == 0) {
                        dayName = true;
                    }
                }
                if (!dayName) return false;
            }
        } else if (c == ':') {
            out->push_back({DateToken::kColon});
            ++i;
        } else if (c == '/' || c == '-' || c == '.' || c == ',') {
            out->push_back({DateToken::kSep});
            ++i;
        } else if (c == ' ' || c == '\t') {
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

int FullYear(const DateToken& t) {
    if (t.digits <= 2) return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    return t.value;
}

bool IsMeridiem(const DateToken& t) {
    return t.kind == DateToken::kAm || t.kind == DateToken::kPm;
}

// A 12-hour clock's hour (1 to 12) on the 24-hour clock.
bool ApplyMeridiem(const DateToken& meridiem, int* hour) {
    if (*hour < 1 || *hour > 12) return false;
    if (meridiem.kind == DateToken::kAm && *hour == 12) *hour = 0;
    if (meridiem.kind == DateToken::kPm && *hour != 12) *hour += 12;
    return true;
}

// The time of day starting at tokens[*i], H:M[:S] [AM|PM] or H AM|PM; *i
// ends on its last token.
bool ReadTime(const std::vector<DateToken>& tokens, size_t* i, double* time) {
    int parts[3] = {tokens[*i].value, 0, 0};
    int count = 1;
    size_t j = *i + 1;
    while (j + 1 < tokens.size() && tokens[j].kind == DateToken::kColon &&
           tokens[j + 1].kind == DateToken::kNumber && count < 3) {
        parts[count++] = tokens[j + 1].value;
        j += 2;
    }
    if (count < 2 && tokens[*i + 1].kind == DateToken::kColon) return false;
    int hour = parts[0];
    if (j < tokens.size() && IsMeridiem(tokens[j])) {
        if (!ApplyMeridiem(tokens[j], &hour)) return false;
        ++j;
    }
    if (hour > 23 || parts[1] > 59 || parts[2] > 59) return false;
    *time = TimeFraction(hour, parts[1], parts[2]);
    *i = j - 1;
    return true;
}

// Takes the time out of the tokens (the first number followed by ':' or by
// AM/PM starts it); the date's numbers and month name go to *date.
bool SplitTime(const std::vector<DateToken>& tokens, double* time, bool* haveTime,
               std::vector<DateToken>* date) {
    for (size_t i = 0; i < tokens.size(); ++i) {
        const DateToken& t = tokens[i];
        const bool startsTime =
            t.kind == DateToken::kNumber && i + 1 < tokens.size() &&
            (tokens[i + 1].kind == DateToken::kColon || IsMeridiem(tokens[i + 1]));
        if (startsTime && !*haveTime) {
            if (!ReadTime(tokens, &i, time)) return false;
            *haveTime = true;
        } else if (t.kind != DateToken::kSep) {
            if (t.kind != DateToken::kNumber && t.kind != DateToken::kMonth) return false;
            date->push_back(t);
        }
    }
    return true;
}

struct Ymd {
    int year = 0, month = 0, day = 0;
};

// A month name with a day and a year (either order), or with only one of
// them: a number that cannot be a day is the year.
bool WithMonthName(int month, const std::vector<DateToken>& numbers, int currentYear, Ymd* d) {
    d->month = month;
    if (numbers.size() == 2) {
        const bool yearFirst = numbers[0].value > 31 || numbers[0].digits > 2;
        d->day = numbers[yearFirst ? 1 : 0].value;
        d->year = FullYear(numbers[yearFirst ? 0 : 1]);
        return true;
    }
    if (numbers.size() != 1) return false;
    if (numbers[0].value > 31 || numbers[0].digits > 2) {
        d->year = FullYear(numbers[0]);
        d->day = 1;
    } else {
        d->day = numbers[0].value;
        d->year = currentYear;
    }
    return true;
}

// Whether a year, month and day name a day of the years VBScript knows.
bool IsCalendarDay(const Ymd& d) {
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.year >= 100 && d.year <= 9999 &&
           d.day <= DaysInMonth(d.year, d.month);
}

// Numbers only. A first number that cannot be a month or a day makes Y/M/D.
// Otherwise the regional order decides: year first when the three read so
// make a day, else month first, or day first where the order has it; and
// where the month would be past 12 but the day could be a month, the two
// change places (13/1/2026 and 1/13/2026 are both 13 January in every
// order). Two numbers are the month and the year when the second cannot be
// a day, else the day and the month, in the order's sequence, of the
// current year.
bool NumbersOnly(const std::vector<DateToken>& numbers, text::DateOrder order, int currentYear,
                 Ymd* d) {
    const size_t count = numbers.size();
    if (count == 3 && (numbers[0].digits > 2 || numbers[0].value > 31)) {
        *d = {FullYear(numbers[0]), numbers[1].value, numbers[2].value};
        return true;
    }
    if (count != 2 && count != 3) return false;
    if (count == 2 && (numbers[1].digits > 2 || numbers[1].value > 31)) {
        *d = {FullYear(numbers[1]), numbers[0].value, 1};
        return true;
    }
    if (count == 3 && order == text::DateOrder::kYearMonthDay) {
        const Ymd yearFirst{FullYear(numbers[0]), numbers[1].value, numbers[2].value};
        if (IsCalendarDay(yearFirst)) {
            *d = yearFirst;
            return true;
        }
    }
    const bool dayFirst = order == text::DateOrder::kDayMonthYear;
    d->month = numbers[dayFirst ? 1 : 0].value;
    d->day = numbers[dayFirst ? 0 : 1].value;
    d->year = count == 3 ? FullYear(numbers[2]) : currentYear;
    if (d->month > 12 && d->day <= 12) std::swap(d->month, d->day);
    return true;
}

bool ReadDate(const std::vector<DateToken>& date, text::DateOrder order, int currentYear, Ymd* d) {
    int monthName = 0;
    std::vector<DateToken> numbers;
    for (const DateToken& t : date) {
        if (t.kind != DateToken::kMonth) {
            numbers.push_back(t);
        } else if (monthName) {
            return false;
        } else {
            monthName = t.value;
        }
    }
    if (monthName) return WithMonthName(monthName, numbers, currentYear, d);
    return NumbersOnly(numbers, order, currentYear, d);
}

}  // namespace

bool ParseDate(std::string_view text, text::DateOrder order, int currentYear, double* serial) {
    std::vector<DateToken> tokens, date;
    double time = 0;
    bool haveTime = false;
    if (!Tokenize(text, &tokens) || tokens.empty()) return false;
    if (!SplitTime(tokens, &time, &haveTime, &date)) return false;
    if (date.empty()) {
        if (!haveTime) return false;
        *serial = time;
        return true;
    }
    Ymd d;
    if (!ReadDate(date, order, currentYear, &d) || !IsCalendarDay(d)) return false;
    double days = 0;
    if (!DaySerial(d.year, d.month, d.day, &days)) return false;
    *serial = days < 0 ? days - time : days + time;
    return true;
}

}  // namespace script
