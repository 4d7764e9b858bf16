// Colour texts: "#RRGGBB", "RRGGBB" or a name from Colours.txt.
#pragma once

#include <string_view>

#include "platform/colour.h"
#include "platform/file_system.h"

namespace vantrel {

// Never fails: whatever does not parse reads as hexadecimal digits, and
// those that are not read as 0.
Colour ParseColour(std::string_view text, const FileSystem& files);

}  // namespace vantrel
