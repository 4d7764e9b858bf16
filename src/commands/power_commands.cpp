#include "commands/power_commands.h"

#include "interpreter/command_table.h"
#include "interpreter/interpreter.h"

namespace vantrel {

void Exit(Interpreter& in, const Command& c) {
    if (!c.args.empty()) {
        PrintSyntax(in, c);
        return;
    }
    in.exitRequested = true;
    if (in.exitConsole) in.exitConsole();
}

}  // namespace vantrel
