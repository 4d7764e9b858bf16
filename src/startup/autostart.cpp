#include "startup/autostart.h"

#include "interpreter/command_table.h"
#include "interpreter/interpreter.h"

namespace vantrel {

namespace {

constexpr char kUnableToChange[] = "Unable to change AUTOSTART: ";
constexpr char kIsOn[] = "AUTOSTART is on";
constexpr char kIsOff[] = "AUTOSTART is off";

}  // namespace

std::string AutostartCommandLine(const std::string& executablePath) {
    size_t slash = executablePath.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? "" : executablePath.substr(0, slash + 1);
    std::string name = executablePath.substr(folder.size());
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return "\"" + folder + name + ".exe\"";
}

void Autostart(Interpreter& in, const Command& c) {
    Registry& registry = in.Os().registry;
    std::string err;
    bool changed = true;
    if (c.argsLower == "on") {
        changed = registry.SetString(
            kRunKey, kRunValue, AutostartCommandLine(in.Os().processes.ExecutablePath()), &err);
    } else if (c.argsLower == "off") {
        changed = registry.DeleteValue(kRunKey, kRunValue, &err);
    } else if (c.argsLower.empty()) {
        in.PrintOut(registry.GetString(kRunKey, kRunValue).empty() ? kIsOff : kIsOn);
    } else {
        PrintSyntax(in, c);
    }
    // Without the right to change the machine-wide key the system refuses;
    // the user is told so rather than left to find out at the next log-on.
    if (!changed) in.PrintOut(kUnableToChange + err);
}

}  // namespace vantrel
