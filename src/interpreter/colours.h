// Colour texts: "#RRGGBB", "RRGGBB" or a name from Colours.txt, the file of
// named colours beside the program.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/code_pages.h"
#include "platform/colour.h"
#include "platform/file_system.h"

namespace vantrel {

// Never fails: whatever does not parse reads as hexadecimal digits, and
// those that are not read as 0.
Colour ParseColour(std::string_view text, const FileSystem& files, const CodePages& pages);

// The names of Colours.txt with their colour texts, in the file's order: a
// line holds a name, a blank and the colour; a line that begins with "#"
// or a blank names nothing. The file may be in the legacy code page or in
// UTF-8; a missing one names nothing.
std::vector<std::pair<std::string, std::string>> NamedColours(const FileSystem& files,
                                                              const CodePages& pages);

}  // namespace vantrel
