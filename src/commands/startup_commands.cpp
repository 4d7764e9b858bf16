#include "commands/startup_commands.h"

#include "interpreter/interpreter.h"
#include "startup/autoexec.h"
#include "startup/autostart.h"

namespace vantrel {

namespace {

constexpr char kUnableToChange[] = "Unable to change AUTOSTART: ";
constexpr char kIsOn[] = "AUTOSTART is on";
constexpr char kIsOff[] = "AUTOSTART is off";

}  // namespace

void SavePosCommand(Interpreter& in, const Command&) {
    // A placement that cannot be saved leaves the file as it was; like the
    // tray menu's item, the command stays silent.
    std::string err;
    const WindowPlacement& placement = in.Host().Placement();
    SavePlacement(in, placement.Docking(), placement.DockedMonitor(), &err);
}

void AutostartCommand(Interpreter& in, const Command& c) {
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
