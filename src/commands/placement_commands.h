// Placing the bar: DOCK, WINPOS, HIDE, SHOW and ALWAYSONTOP. The moves
// themselves belong to the console that owns the window; these commands
// check their arguments, store the settings and ask for them.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void DockCommand(Interpreter& in, const Command& c);
void WinPosCommand(Interpreter& in, const Command& c);
void HideCommand(Interpreter& in, const Command& c);
void ShowCommand(Interpreter& in, const Command& c);
void AlwaysOnTopCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
