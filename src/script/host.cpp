#include "script/host.h"

#include <chrono>
#include <ctime>

#include "script/dates.h"
#include "text/number_settings.h"

namespace script {

double Host::Now() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    double day = 0;
    DaySerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, &day);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return day + TimeFraction(local.tm_hour, local.tm_min, local.tm_sec + ms / 1000.0);
}

text::NumberSettings Host::Numbers() const {
    return text::NumberSettings();
}

std::string Host::FormatDate(const DateParts& d) const {
    return DefaultShortDate(d);
}

std::string Host::FormatTime(const DateParts& d) const {
    return DefaultLongTime(d);
}

std::string Host::FormatLongDate(const DateParts& d) const {
    return DefaultLongDate(d);
}

std::string Host::FormatShortTime(const DateParts& d) const {
    char text[8];
    text[0] = static_cast<char>('0' + d.hour / 10 % 10);
    text[1] = static_cast<char>('0' + d.hour % 10);
    text[2] = ':';
    text[3] = static_cast<char>('0' + d.minute / 10);
    text[4] = static_cast<char>('0' + d.minute % 10);
    return std::string(text, 5);
}

text::DateOrder Host::ShortDateOrder() const {
    return text::DateOrder::kMonthDayYear;
}

bool Host::ParseDate(std::string_view text, double* serial) const {
    return script::ParseDate(text, ShortDateOrder(), SplitDate(Now()).year, serial);
}

void Host::Echo(std::string_view) {}

bool Host::KeepGoing() {
    return true;
}

std::string Host::ApplicationName() const {
    return "VBScript";
}

int Host::MsgBox(std::string_view, int, std::string_view) {
    return 1;
}

bool Host::InputBox(std::string_view, std::string_view, std::string_view defaultText,
                    const BoxPosition&, std::string* answer) {
    *answer = std::string(defaultText);
    return true;
}

}  // namespace script
