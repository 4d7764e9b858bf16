// Ending the console and, later, the machine.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

// EXIT and QUIT: nothing after them on the line or in the batch file runs.
void Exit(Interpreter& in, const Command& c);

}  // namespace vantrel
