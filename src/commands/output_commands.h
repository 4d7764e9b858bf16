// Commands about the output pane and the bar's layout: CLS, KEEPOUTPUT,
// ENTERBUTTON.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void ClsCommand(Interpreter& in, const Command& c);
void KeepOutputCommand(Interpreter& in, const Command& c);
void EnterButtonCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
