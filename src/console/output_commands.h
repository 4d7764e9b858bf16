// Commands about the output pane and the bar's layout: CLS, KEEPOUTPUT,
// ENTERBUTTON.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void Cls(Interpreter& in, const Command& c);
void KeepOutput(Interpreter& in, const Command& c);
void EnterButton(Interpreter& in, const Command& c);

}  // namespace vantrel
