// What the console keeps for the next start: SAVEPOS writes the bar's
// placement into Autoexec.dcb, AUTOSTART starts the console at log-on.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void SavePosCommand(Interpreter& in, const Command& c);
void AutostartCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
