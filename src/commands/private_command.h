// PRIVATE: the session's private mode, in which nothing typed or run is
// written to History.txt or Runs.txt.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void PrivateCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
