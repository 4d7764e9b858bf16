#include "commands/power_commands.h"

#include "interpreter/interpreter.h"
#include "interpreter/launch.h"
#include "platform/shell.h"

namespace vantrel {

namespace {

constexpr char kShutdownProgram[] = "ShutDown.exe";
constexpr char kShutdownParams[] = "-s -t 0 -f";
constexpr char kRestartParams[] = "-r -t 0 -f";

// Started and not waited for; a failure leaves nothing the user could act on.
void RunShutdownProgram(Interpreter& in, const char* params) {
    std::string err;
    OpenTarget(in, kShutdownProgram, params, kShowHidden, &err);
}

}  // namespace

void ExitCommand(Interpreter& in, const Command&) {
    in.exitRequested = true;
    in.Host().Exit();
}

void ShutdownCommand(Interpreter& in, const Command&) {
    RunShutdownProgram(in, kShutdownParams);
}

void RestartCommand(Interpreter& in, const Command&) {
    RunShutdownProgram(in, kRestartParams);
}

}  // namespace vantrel
