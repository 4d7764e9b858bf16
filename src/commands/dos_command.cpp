#include "commands/dos_command.h"

#include "commands/file_commands.h"
#include "interpreter/interpreter.h"

namespace vantrel {

namespace {

constexpr char kCreateError[] = "Error creating temporary batch file";
constexpr char kReadError[] = "Error reading output file";
// The console cannot take input while a command runs, so one that never
// ends is stopped at this limit rather than freezing the console for good.
constexpr unsigned long kTimeLimitMs = 300'000;
// The pane keeps only its last lines; a command that writes without end
// must not fill the memory on its way there.
constexpr std::size_t kOutputLimit = 1 << 20;

void PrintCapturedOutput(Interpreter& in, const std::string& path) {
    std::string err;
    if (!PrintFileStart(in, path, kOutputLimit, "output", &err)) in.PrintOut(kReadError);
}

}  // namespace

DosFiles DosTempFiles(const std::string& temp, unsigned long processId) {
    std::string folder = temp.empty() || temp.back() != '\\' ? temp + "\\" : temp;
    // Named after the process, so that two consoles never share them.
    std::string name = folder + "DOS-" + std::to_string(processId);
    return {name + ".bat", name + ".out"};
}

std::string DosBatchLine(const std::string& text, const std::string& outputPath, bool* capture) {
    *capture = text.find('>') == std::string::npos;
    // Quoted, so that a temporary folder with a blank in its name still
    // receives the output.
    return *capture ? text + " > \"" + outputPath + "\"" : text;
}

void DosCommand(Interpreter& in, const Command& c) {
    FileSystem& files = in.Os().files;
    Processes& processes = in.Os().processes;
    const DosFiles temp = DosTempFiles(in.EnvGet("TEMP"), processes.CurrentProcessId());
    bool capture = false;
    const std::string line = DosBatchLine(c.args, temp.output, &capture);

    // Neither file outlives the command, whatever happens to it.
    std::string err, ignored;
    files.DeleteFiles(temp.output, &ignored);
    if (!files.WriteFile(temp.batch, line + "\r\n", &err)) {
        files.DeleteFiles(temp.batch, &ignored);
        in.PrintOut(kCreateError);
        return;
    }
    bool timedOut = false;
    const bool ran = processes.RunBatchFileAndWait(temp.batch, kTimeLimitMs, &timedOut, &err);
    files.DeleteFiles(temp.batch, &ignored);
    if (capture) {
        PrintCapturedOutput(in, temp.output);
        files.DeleteFiles(temp.output, &ignored);
    } else if (!ran) {
        // With no output to read, nothing else would tell of the failure.
        in.PrintOut(err);
    }
    if (timedOut) {
        in.PrintOut("DOS command stopped after " + std::to_string(kTimeLimitMs / 1000) +
                    " seconds");
    }
}

}  // namespace vantrel
