// RUN, RUNMAX, RUNMIN and RUNHIDE: open a program, document, folder, URL or
// batch file, looked for in the current folder, the shortcut folder and the
// two desktops before the shell's own search. Every word no other command
// takes arrives here too.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void RunFamilyCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
