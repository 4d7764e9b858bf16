#include "interpreter/script_host.h"

#include "platform/geometry.h"
#include "script/dates.h"

namespace vantrel {

bool ConsoleScriptHost::KeepGoing() {
    return line_.KeepGoing();
}

int MsgBoxStyle(int buttons) {
    const int options = buttons & kMsgBoxOptions;
    const int shown = buttons & kMsgBoxButtons;
    return options | (shown <= kMsgBoxLastButtons ? shown : 0);
}

// A box opened by a served client's line shows on this console's desktop,
// like everything that line does: the client waits until someone answers.
// Outside a line (a script function run while the console reads a setting)
// no box shows: its modal loop would run the console's timer and input
// with nothing to hold them back. The script gets what a box that could
// not be shown gives.
int ConsoleScriptHost::MsgBox(std::string_view prompt, int buttons, std::string_view title) {
    if (!line_.Running()) return 0;
    ++openDialogs_;
    const int pressed = dialogs_.MsgBox(
        MsgBoxRequest{std::string(prompt), std::string(title), MsgBoxStyle(buttons)});
    --openDialogs_;
    return pressed;
}

bool ConsoleScriptHost::InputBox(std::string_view prompt, std::string_view title,
                                 std::string_view defaultText, const script::BoxPosition& position,
                                 std::string* answer) {
    answer->clear();
    if (!line_.Running()) return false;
    InputBoxRequest request;
    request.prompt = prompt;
    request.title = title;
    request.defaultText = defaultText;
    request.left = position.x;
    request.top = position.y;
    ++openDialogs_;
    const bool accepted = dialogs_.InputBox(request, answer);
    --openDialogs_;
    return accepted;
}

double ToSerialDate(const LocalTime& t) {
    double day = 0;
    script::DaySerial(t.year, t.month, t.day, &day);
    return day + script::TimeFraction(t.hour, t.minute, t.second);
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
