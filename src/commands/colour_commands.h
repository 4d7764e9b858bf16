// COLOUR and COLOR: set the ten colour settings of the bar and the pane.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "interpreter/dispatch.h"

namespace vantrel {

class Interpreter;

void ColourCommand(Interpreter& in, const Command& c);
// What COLOUR's argument index is after previous: its own words (PROMPT,
// COMMAND, OUTPUT; TEXT, BG, BUSY; after BUSY, TEXT and BG) or a colour.
ArgKind ColourArgumentAt(int index, std::string_view previous, std::vector<std::string>* words);

}  // namespace vantrel
