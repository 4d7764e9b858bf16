#include "commands/clock_commands.h"

#include <cstdlib>

#include "interpreter/interpreter.h"
#include "interpreter/text.h"

namespace vantrel {

namespace {

// A text as a script string literal, quotes doubled.
std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(ReplaceAll(text, "\"", "\"\"")).push_back('"');
    return quoted;
}

// Reads a date and time typed in the regional form through the engine, so
// TIME, DATE and NOW accept exactly what the script language does.
bool ParseDateTime(Interpreter& in, const std::string& text, LocalTime* t) {
    script::Engine& engine = in.Engine();
    std::string date = "CDate(" + Quoted(text) + ")";
    int* fields[] = {&t->year, &t->month, &t->day, &t->hour, &t->minute, &t->second};
    const char* parts[] = {"Year", "Month", "Day", "Hour", "Minute", "Second"};
    for (int i = 0; i < 6; ++i) {
        script::Value value;
        std::string text;
        script::Error err;
        if (!engine.Eval(std::string(parts[i]) + "(" + date + ")", &value) ||
            !in.ValueText(value, &text, &err)) {
            return false;
        }
        *fields[i] = std::atoi(text.c_str());
    }
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
