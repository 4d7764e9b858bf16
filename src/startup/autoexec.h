// The start-up batch file as the console's memory: SavePlacement writes the
// bar's placement into it, OpenAutoexec opens it in the text editor.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/console_window.h"

namespace vantrel {

class Interpreter;

// ShortcutFolder + "\Autoexec.dcb".
std::string AutoexecPath(Interpreter& in);

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

// The start-up file's new text: the placement lines first, then every
// other line of the old text in its order, each ending in CR LF.
std::string WithPlacement(const std::string& contents, const std::vector<std::string>& placement);

// Rewrites the placement lines of Autoexec.dcb, creating the file when it
// is missing. The file is replaced in one step, so a failure leaves it as
// it was. False, with the platform's description, on failure.
bool SavePlacement(Interpreter& in, DockState dock, const std::optional<Point>& monitor,
                   std::string* err);

// Opens Autoexec.dcb in the text editor without waiting.
void OpenAutoexec(Interpreter& in);

}  // namespace vantrel
