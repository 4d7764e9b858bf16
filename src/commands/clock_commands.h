// TIME, DATE and NOW: show the clock, or with an argument set it.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void TimeCommand(Interpreter& in, const Command& c);
void DateCommand(Interpreter& in, const Command& c);
void NowCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
