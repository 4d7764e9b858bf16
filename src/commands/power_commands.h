// Ending the console, and shutting down or restarting the machine.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

// EXIT and QUIT: nothing after them on the line or in the batch file runs.
void ExitCommand(Interpreter& in, const Command& c);
// An immediate, forced shutdown or restart by the system's shutdown program,
// started hidden and not waited for.
void ShutdownCommand(Interpreter& in, const Command& c);
void RestartCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
