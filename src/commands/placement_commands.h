// Placing the bar: DOCK, WINPOS, HIDE, SHOW and ALWAYSONTOP. The moves
// themselves belong to the console that owns the window; these commands
// check their arguments, store the settings and ask for them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/console_window.h"

namespace vantrel {

class Interpreter;
struct Command;

void DockCommand(Interpreter& in, const Command& c);
void WinPosCommand(Interpreter& in, const Command& c);
void HideCommand(Interpreter& in, const Command& c);
void ShowCommand(Interpreter& in, const Command& c);
void AlwaysOnTopCommand(Interpreter& in, const Command& c);

// The DOCK and WINPOS lines that bring the bar back to where it is now;
// none when it is docked at the top of the primary monitor, where every
// start puts it. monitor: the corner of the docked bar's monitor when that
// is not the primary, which the DOCK line then names.
std::vector<std::string> PlacementLines(Interpreter& in, DockState dock,
                                        const std::optional<Point>& monitor);
// Whether a line of Autoexec.dcb is one PlacementLines writes: "dock" or
// "winpos" and an argument. The word alone, or after leading blanks,
// belongs to the user.
bool IsPlacementLine(const std::string& line);

}  // namespace vantrel
