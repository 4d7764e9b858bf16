// COLOUR and COLOR: set the ten colour settings of the bar and the pane.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void ColourCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
