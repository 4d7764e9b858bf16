#include "console/output_commands.h"

#include "interpreter/command_table.h"
#include "interpreter/interpreter.h"
#include "interpreter/variable_commands.h"

namespace vantrel {

namespace {

// The ON/OFF switches: no argument reports, ON and OFF set, anything else
// is misuse.
void Switch(Interpreter& in, const Command& c, const char* variable, const std::string& report,
            bool on) {
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

}  // namespace

void Cls(Interpreter& in, const Command&) {
    in.PrintOut("\f");
}

void KeepOutput(Interpreter& in, const Command& c) {
    Switch(in, c, "OutputKeep", "KEEP OUTPUT is ",
           c.argsLower.empty() && SettingIsOne(in, "OutputKeep"));
}

void EnterButton(Interpreter& in, const Command& c) {
    Switch(in, c, "EnterButton", "ENTER BUTTON is ",
           c.argsLower.empty() && in.SettingOn("EnterButton"));
}

}  // namespace vantrel
