#include "commands/variable_commands.h"

#include <cstdlib>

#include "interpreter/interpreter.h"
#include "interpreter/line_text.h"
#include "interpreter/settings.h"

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

}  // namespace

void SwitchSetting(Interpreter& in, const Command& c, const char* variable,
                   const std::string& report, bool on) {
    if (c.argsLower.empty()) {
        in.PrintOut(report + (on ? "on" : "off"));
    } else if (c.argsLower == "on") {
        in.SetVar(variable, "1");
    } else if (c.argsLower == "off") {
        in.SetVar(variable, "0");
    } else {
        PrintSyntax(in, c);
    }
}

bool SettingIsOne(Interpreter& in, const char* name) {
    std::string text(TrimSpaces(in.EvaluateText(name)));
    if (text.empty()) return false;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && value == 1;
}

void SetCommand(Interpreter& in, const Command& c) {
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

void LetCommand(Interpreter& in, const Command& c) {
    if (c.args.find('=') == std::string::npos) {
        PrintSyntax(in, c);
        return;
    }
    std::string name, expression;
    SplitAssignment(c.args, &name, &expression);
    Assign(in, c, name, in.EvaluateText(expression));
}

void EnvCommand(Interpreter& in, const Command& c) {
    if (c.args.empty()) {
        for (const std::string& entry : in.Os().environment.Block()) in.PrintOut(entry);
    } else if (c.args.find('=') == std::string::npos && c.Arg(2).empty()) {
        in.PrintOut(c.args + "=" + in.EnvGet(c.args));
    } else {
        PrintSyntax(in, c);
    }
}

void UrlHexCommand(Interpreter& in, const Command& c) {
    in.SetVar(c.args, UrlHex(in.EvaluateText(c.args)));
}

void VbCommand(Interpreter& in, const Command& c) {
    script::Engine& engine = in.Engine();
    engine.ClearError();
    if (!engine.ExecuteStatement(c.args)) in.PrintOut(engine.LastError().description);
}

void PrintCommand(Interpreter& in, const Command& c) {
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

void EchoCommand(Interpreter& in, const Command& c) {
    if (c.args.empty()) {
        in.PrintOut(std::string("ECHO is ") + (SettingIsOne(in, settings::kEcho) ? "on" : "off"));
    } else if (c.argsLower == "on") {
        in.SetVar(settings::kEcho, "1");
    } else if (c.argsLower == "off") {
        in.SetVar(settings::kEcho, "0");
    } else {
        in.PrintOut(c.args);
    }
}
}  // namespace vantrel
