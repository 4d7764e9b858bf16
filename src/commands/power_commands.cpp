#include "commands/power_commands.h"

#include "interpreter/command_table.h"
#include "interpreter/interpreter.h"
#include "interpreter/launch.h"
#include "platform/shell.h"

namespace vantrel {

namespace {

constexpr char kShutdownProgram[] = "ShutDown.exe";
constexpr char kShutdownParams[] = "-s -t 0 -f";
constexpr char kRestartParams[] = "-r -t 0 -f";

void RunShutdownProgram(Interpreter& in, const Command& c, const char* params) {
    if (!c.args.empty()) {
        PrintSyntax(in, c);
        return;
    }
    OpenTarget(in, kShutdownProgram, params, kShowHidden);
}

}  // namespace

void Exit(Interpreter& in, const Command& c) {
    if (!c.args.empty()) {
        PrintSyntax(in, c);
        return;
    }
    in.exitRequested = true;
    if (in.exitConsole) in.exitConsole();
}

void Shutdown(Interpreter& in, const Command& c) {
    RunShutdownProgram(in, c, kShutdownParams);
}

void Restart(Interpreter& in, const Command& c) {
    RunShutdownProgram(in, c, kRestartParams);
}

}  // namespace vantrel
