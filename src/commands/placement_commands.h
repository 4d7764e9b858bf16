// Placing the bar: DOCK, WINPOS, HIDE, SHOW and ALWAYSONTOP. The moves
// themselves belong to the console that owns the window; these commands
// check their arguments, store the settings and ask for them.
#pragma once

#include <string>

namespace vantrel {

class Interpreter;
struct Command;

void DockCommand(Interpreter& in, const Command& c);
void WinPosCommand(Interpreter& in, const Command& c);
void HideCommand(Interpreter& in, const Command& c);
void ShowCommand(Interpreter& in, const Command& c);
void AlwaysOnTopCommand(Interpreter& in, const Command& c);

// What WINPOS does with its first four arguments: each number greater than
// 0 or exactly "0", the width no less than kMinFloatingWidthPixels.
enum class WinPosAction { kStore, kTooNarrow, kReport, kSyntax };
WinPosAction CheckWinPos(const std::string& a1, const std::string& a2, const std::string& a3,
                         const std::string& a4);

}  // namespace vantrel
