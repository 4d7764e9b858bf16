// The names Windows keeps for its devices. Opening one opens the device, not
// a file: reading COM1 waits for a serial line that never speaks, so no
// command may take such a name for a file or folder.
#pragma once

#include <string_view>

namespace vantrel {

// Whether path names a device: its last part is CON, PRN, AUX, NUL, COM1 to
// COM9 or LPT1 to LPT9 (also with a superscript 1, 2 or 3), letter case
// aside, with or without an extension or a folder in front ("com1.txt",
// "C:\x\nul"); or the path is in the device namespace ("\\.\COM1").
bool IsDeviceName(std::string_view path);

}  // namespace vantrel
