// DOS: one line run by the system command interpreter, its standard output
// captured through a temporary file and printed as output lines.
#pragma once

#include <string>

namespace vantrel {

class Interpreter;
struct Command;

struct DosFiles {
    std::string batch;   // the one-line batch file that is run
    std::string output;  // where its standard output is redirected
};

// The temporary files of this process in the folder temp ("" when TEMP is
// not set, which names the root folder of the current drive).
DosFiles DosTempFiles(const std::string& temp, unsigned long processId);

// The line written to the batch file. A text without a ">" of its own gets
// its standard output redirected to outputPath, and *capture is set.
std::string DosBatchLine(const std::string& text, const std::string& outputPath, bool* capture);

void DosCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
