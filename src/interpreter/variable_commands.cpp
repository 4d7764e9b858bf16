#include "interpreter/variable_commands.h"

#include <cstdlib>

#include "interpreter/command_table.h"
#include "interpreter/interpreter.h"
#include "interpreter/text.h"

namespace vantrel {

namespace {

constexpr char kNoSpaces[] = "Variable names cannot contain spaces";
constexpr char kUnableToSet[] = "Unable to set variable";

// Splits "name=value" at the first "=", trimming both sides.
void SplitAssignment(const std::string& text, std::string* name, std::string* value) {
    size_t eq = text.find('=');
    *name = std::string(TrimSpaces(std::string_view(text).substr(0, eq)));
    *value = std::string(TrimSpaces(std::string_view(text).substr(eq + 1)));
}

// The checks SET and LET share once the value is known.
void Assign(Interpreter& in, const Command& c, const std::string& name, const std::string& value) {
    if (name.empty()) {
        PrintSyntax(in, c);
    } else if (name.find(' ') != std::string::npos) {
        in.PrintOut(kNoSpaces);
    } else if (!in.SetVar(name, value)) {
        in.PrintOut(kUnableToSet);
    }
}

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

bool SettingIsOne(Interpreter& in, const char* name) {
    std::string text(TrimSpaces(in.EvaluateText(name)));
    if (text.empty()) return false;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && value == 1;
}

void Set(Interpreter& in, const Command& c) {
    if (c.args.empty()) {
        for (const std::string& name : in.Vars().VarNames()) {
            in.PrintOut(name + "=" + in.EvaluateText(name));
        }
    } else if (c.args.find('=') == std::string::npos) {
        if (c.Arg(2).empty()) {
            in.PrintOut(c.args + "=" + in.EvaluateText(c.args));
        } else {
            PrintSyntax(in, c);
        }
    } else {
        std::string name, value;
        SplitAssignment(c.args, &name, &value);
        Assign(in, c, name, value);
    }
}

void Let(Interpreter& in, const Command& c) {
    if (c.args.find('=') == std::string::npos) {
        PrintSyntax(in, c);
        return;
    }
    std::string name, expression;
    SplitAssignment(c.args, &name, &expression);
    Assign(in, c, name, in.EvaluateText(expression));
}

void Env(Interpreter& in, const Command& c) {
    if (c.args.empty()) {
        for (const std::string& entry : in.Os().environment.Block()) in.PrintOut(entry);
    } else if (c.args.find('=') == std::string::npos && c.Arg(2).empty()) {
        in.PrintOut(c.args + "=" + in.EnvGet(c.args));
    } else {
        PrintSyntax(in, c);
    }
}

void UrlHexCommand(Interpreter& in, const Command& c) {
    if (c.args.empty() || !c.Arg(2).empty()) {
        PrintSyntax(in, c);
        return;
    }
    in.SetVar(c.args, UrlHex(in.EvaluateText(c.args)));
}

void Vb(Interpreter& in, const Command& c) {
    script::Engine& engine = in.Engine();
    engine.ClearError();
    if (!engine.ExecuteStatement(c.args)) in.PrintOut(engine.LastError().description);
}

void Print(Interpreter& in, const Command& c) {
    script::Engine& engine = in.Engine();
    engine.ClearError();
    script::Value value;
    if (!engine.Eval(c.args, &value)) {
        in.PrintOut(engine.LastError().description);
        return;
    }
    std::string text;
    script::Error err;
    in.PrintOut(in.ValueText(value, &text, &err) ? text : err.description);
}

void Echo(Interpreter& in, const Command& c) {
    if (c.args.empty()) {
        in.PrintOut(std::string("ECHO is ") + (SettingIsOne(in, "Echo") ? "on" : "off"));
    } else if (c.argsLower == "on") {
        in.SetVar("Echo", "1");
    } else if (c.argsLower == "off") {
        in.SetVar("Echo", "0");
    } else {
        in.PrintOut(c.args);
    }
}

void Time(Interpreter& in, const Command& c) {
    ClockCommand(in, c, ClockPart::kTime);
}
void Date(Interpreter& in, const Command& c) {
    ClockCommand(in, c, ClockPart::kDate);
}
void Now(Interpreter& in, const Command& c) {
    ClockCommand(in, c, ClockPart::kBoth);
}

}  // namespace vantrel
