#include "commands/clock_commands.h"

#include "interpreter/interpreter.h"
#include "script/dates.h"

namespace vantrel {

namespace {

// Reads a date and time typed in the regional form as the script engine
// reads one (CDate), so TIME, DATE and NOW accept exactly what the script
// language does, in the order the dates are shown in.
bool ParseDateTime(Interpreter& in, const std::string& text, LocalTime* t) {
    double serial = 0;
    if (!in.ScriptHost().ParseDate(text, &serial)) return false;
    *t = FromDateParts(script::SplitDate(serial));
    return true;
}

enum class ClockPart { kTime, kDate, kBoth };

void ClockCommand(Interpreter& in, const Command& c, ClockPart part) {
    Clock& clock = in.Os().clock;
    LocalTime now = clock.Now();
    if (c.args.empty()) {
        switch (part) {
            case ClockPart::kTime:
                in.PrintOut(clock.FormatTime(now));
                break;
            case ClockPart::kDate:
                in.PrintOut(clock.FormatDate(now));
                break;
            case ClockPart::kBoth:
                in.PrintOut(clock.FormatDate(now) + " " + clock.FormatTime(now));
                break;
        }
        return;
    }
    LocalTime typed;
    if (!ParseDateTime(in, c.args, &typed)) return;
    LocalTime set = now;
    if (part != ClockPart::kTime)
        set.year = typed.year, set.month = typed.month, set.day = typed.day;
    if (part != ClockPart::kDate) {
        set.hour = typed.hour, set.minute = typed.minute, set.second = typed.second;
        set.millisecond = 0;
    }
    clock.SetNow(set);
}

}  // namespace

void TimeCommand(Interpreter& in, const Command& c) {
    ClockCommand(in, c, ClockPart::kTime);
}
void DateCommand(Interpreter& in, const Command& c) {
    ClockCommand(in, c, ClockPart::kDate);
}
void NowCommand(Interpreter& in, const Command& c) {
    ClockCommand(in, c, ClockPart::kBoth);
}

}  // namespace vantrel
