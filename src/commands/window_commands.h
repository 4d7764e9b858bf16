// Acting on the other programs of the desktop: WINS lists the top-level
// windows with their process ids, FOCUS raises one, CLOSE asks windows to
// close and KILL ends processes, each naming its target by a process id or
// a full or partial window title.
#pragma once

#include <string>
#include <vector>

#include "platform/desktop_windows.h"

namespace vantrel {

class Interpreter;
struct Command;

std::string GetWindowTitle(const DesktopWindows& windows, WindowHandle window);
// The matching windows in walk order; the single element 0 when none match.
std::vector<WindowHandle> FindWindowsByTitle(const DesktopWindows& windows,
                                             const std::string& fragment);
std::vector<WindowHandle> FindWindowsByPid(const DesktopWindows& windows, unsigned long pid);

// The process id a target names, or 0 when the target is a title fragment:
// the leading number of the target text, when it fits 32 bits and is above
// 0, and only when no second argument follows.
unsigned long TargetPid(const Command& c);

// One WINS entry: the id right-aligned in 6 characters under "  PID  |".
std::string WinsLine(unsigned long pid, const std::string& title);

void FocusCommand(Interpreter& in, const Command& c);
void CloseCommand(Interpreter& in, const Command& c);
void KillCommand(Interpreter& in, const Command& c);
void WinsCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
