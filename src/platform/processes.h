// Starting other programs: the text editor without waiting, and the system
// command interpreter's batch files, watched to their end.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace vantrel {

// The longest command line CreateProcess starts, less its terminating zero.
inline constexpr std::size_t kMaxCommandLine = 32766;

// A batch file that the system command interpreter runs.
class BatchRun {
  public:
    virtual ~BatchRun() = default;
    // Waits at most ms for the run to end; true once it has.
    virtual bool Wait(unsigned long ms) = 0;
    // Ends the run with everything it started, and waits for that.
    virtual void Stop() = 0;
};

class Processes {
  public:
    virtual ~Processes() = default;

    // Starts a command line in a window of the given show style and returns
    // at once. False, with the platform's description, when it cannot start;
    // a command line longer than kMaxCommandLine never does.
    virtual bool Start(const std::string& commandLine, int showStyle, std::string* err) = 0;

    // Starts a batch file in the system command interpreter, in a hidden
    // window with an empty standard input, so a command that asks for keys
    // sees the end of its input instead of waiting for ever. Everything the
    // run starts belongs to it until it ends. Null, with the platform's
    // description, when it cannot start.
    virtual std::unique_ptr<BatchRun> StartBatchFile(const std::string& path, std::string* err) = 0;

    // This process's id, to keep temporary files of two consoles apart.
    virtual unsigned long CurrentProcessId() const = 0;
    // The full path of the program's executable.
    virtual std::string ExecutablePath() const = 0;
    // The executable names ("notepad.exe") of the running processes, one
    // for each process; none when the system will not list them.
    virtual std::vector<std::string> ProcessNames() const = 0;
};

}  // namespace vantrel
