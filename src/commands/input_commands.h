// Reaching outside the console: SENDKEYS types into the window that has the
// keyboard focus, MOUSE reports or moves the cursor and can click.
#pragma once

#include <string>

namespace vantrel {

class Interpreter;
struct Command;

// A MOUSE coordinate: the leading number of the text, rounded half to even;
// false when it does not fit 32 bits.
bool MouseCoordinate(const std::string& text, int* value);

void SendKeysCommand(Interpreter& in, const Command& c);
void MouseCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
