// Colour texts: "#RRGGBB", "RRGGBB" or a name from Colours.txt.
#pragma once

#include <string_view>

#include "platform/code_pages.h"
#include "platform/colour.h"
#include "platform/file_system.h"

namespace vantrel {

// Never fails: whatever does not parse reads as hexadecimal digits, and
// those that are not read as 0.
// Colours.txt may be in the legacy code page or in UTF-8.
Colour ParseColour(std::string_view text, const FileSystem& files, const CodePages& pages);

}  // namespace vantrel
