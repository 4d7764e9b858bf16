#include "commands/private_command.h"

#include "interpreter/dispatch.h"
#include "interpreter/interpreter.h"

namespace vantrel {

void PrivateCommand(Interpreter& in, const Command& c) {
    ConsoleHost& host = in.Host();
    if (c.argsLower.empty()) {
        in.PrintOut(host.Private() ? "PRIVATE is on: nothing typed or run is written to a file"
                                   : "PRIVATE is off");
    } else if (c.argsLower == "on" || c.argsLower == "off") {
        host.SetPrivate(c.argsLower == "on");
    } else {
        PrintSyntax(in, c);
    }
}

}  // namespace vantrel
