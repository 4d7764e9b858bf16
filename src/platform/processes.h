// Starting other programs: the text editor without waiting, and the system
// command interpreter's batch files waited for to their end.
#pragma once

#include <string>

namespace vantrel {

class Processes {
  public:
    virtual ~Processes() = default;

    // Starts a command line in a window of the given show style and returns
    // at once. False, with the platform's description, when it cannot start.
    virtual bool Start(const std::string& commandLine, int showStyle, std::string* err) = 0;

    // Runs a batch file through the system command interpreter in a hidden
    // window with an empty standard input, so a command that asks for keys
    // sees the end of its input instead of waiting forever, and returns
    // when the process has ended. A run that outlasts timeLimitMs is ended
    // with everything it started, and *timedOut is set. False, with the
    // platform's description, when it cannot start.
    virtual bool RunBatchFileAndWait(const std::string& path, unsigned long timeLimitMs,
                                     bool* timedOut, std::string* err) = 0;

    // This process's id, to keep temporary files of two consoles apart.
    virtual unsigned long CurrentProcessId() const = 0;
    // The full path of the program's executable.
    virtual std::string ExecutablePath() const = 0;
};

}  // namespace vantrel
