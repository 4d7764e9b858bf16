// Opening whatever is not a built-in command: batch files of the console's
// own .dcb format run here, everything else goes to the shell.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

class Interpreter;
struct Command;

// Results follow the shell's convention: greater than 32 is success.
constexpr int kOpened = 33;

int OpenTarget(Interpreter& in, const std::string& target, const std::string& params, int style);
// Runs a .dcb file line by line; kOpened when found and read, else 0.
int RunBatch(Interpreter& in, const std::string& file, const std::string& params);

// Puts the parameters into a batch line: the doubled marker takes the whole
// parameter text, the marker around a number n the n-th parameter.
std::string SubstituteBatchParams(std::string line, const std::string& marker,
                                  const std::string& params);

// RUN, RUNMAX, RUNMIN, RUNHIDE.
void RunFamily(Interpreter& in, const Command& c);

}  // namespace vantrel
