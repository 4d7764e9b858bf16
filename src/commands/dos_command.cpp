#include "commands/dos_command.h"

#include <memory>

#include "commands/file_commands.h"
#include "interpreter/interpreter.h"
#include "platform/paths.h"
#include "platform/text_decoding.h"

namespace vantrel {

namespace {

constexpr char kCreateError[] = "Error creating temporary batch file";
constexpr char kReadError[] = "Error reading output file";
constexpr char kStopped[] = "DOS command stopped";
// The pane keeps only its last lines; a command that writes without end
// must not fill the memory on its way there.
constexpr std::size_t kOutputLimit = 1 << 20;
// How often the output file is read while the command runs; short enough
// that the console keeps answering between two looks.
constexpr unsigned long kWaitStepMs = 50;

// The captured output as the command writes it: complete lines as they
// come, the partial last line at the end, and no more than kOutputLimit
// bytes in all. Console programs write the OEM code page, UTF-8 when told
// to (chcp 65001), or UTF-16 ("cmd /u"); the decoder tells them apart and
// joins a character that one look caught half written.
class CapturedOutput {
  public:
    CapturedOutput(Interpreter& in, const std::string& path)
        : in_(in), path_(path), decoder_(in.Os().codePages, Fallback::kOem, true) {}

    // Prints the lines completed since the last look. A file not made yet,
    // or not readable while the command writes it, waits for the next look.
    void ShowNewLines() {
        if (!ReadOn()) return;
        // A CR at the very end may still be joined by its LF.
        size_t complete = pending_.size() - (pending_.ends_with('\r') ? 1 : 0);
        size_t end =
            complete == 0 ? std::string::npos : pending_.find_last_of("\r\n", complete - 1);
        if (end == std::string::npos) return;
        PrintTextLines(in_, std::string_view(pending_).substr(0, end + 1));
        pending_.erase(0, end + 1);
    }

    // Prints the rest, and a line saying so when the output went past the
    // limit. False when the file cannot be read.
    bool ShowRest() {
        if (!ReadOn()) return false;
        pending_ += more_ ? decoder_.Cut() : decoder_.Finish();
        PrintTextLines(in_, pending_);
        if (more_) in_.PrintOut(OnlyFirstBytesLine(kOutputLimit, "output"));
        return true;
    }

  private:
    bool ReadOn() {
        std::string text, err;
        if (!in_.Os().files.ReadFilePart(path_, read_, kOutputLimit - read_, &text, &more_, &err)) {
            return false;
        }
        read_ += text.size();
        pending_ += decoder_.Next(text);
        return true;
    }

    Interpreter& in_;
    const std::string path_;
    std::size_t read_ = 0;
    bool more_ = false;
    TextDecoder decoder_;
    // Decoded text not yet printed.
    std::string pending_;
};

// True when the console asked the run to stop, which ends it and all it
// started.
bool WaitShowingOutput(Interpreter& in, BatchRun& run, CapturedOutput* output) {
    while (!run.Wait(kWaitStepMs)) {
        if (output) output->ShowNewLines();
        if (in.Poll()) {
            run.Stop();
            return true;
        }
    }
    return false;
}

}  // namespace

DosFiles DosTempFiles(const std::string& temp, unsigned long processId) {
    // Named after the process, so that two consoles never share them; without
    // TEMP, in the root of the current drive.
    const std::string name =
        JoinPath(temp.empty() ? "\\" : temp, "DOS-" + std::to_string(processId));
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
    // The command interpreter reads a batch file in the OEM code page.
    if (!files.WriteFile(temp.batch, in.Os().codePages.ToOem(line) + "\r\n", &err)) {
        files.DeleteFiles(temp.batch, &ignored);
        in.PrintOut(kCreateError);
        return;
    }
    std::unique_ptr<BatchRun> run = processes.StartBatchFile(temp.batch, &err);
    CapturedOutput output(in, temp.output);
    const bool stopped = run && WaitShowingOutput(in, *run, capture ? &output : nullptr);
    files.DeleteFiles(temp.batch, &ignored);
    if (capture) {
        if (!output.ShowRest()) in.PrintOut(kReadError);
        files.DeleteFiles(temp.output, &ignored);
    } else if (!run) {
        // With no output to read, nothing else would tell of the failure.
        in.PrintOut(err);
    }
    if (stopped) in.PrintOut(kStopped);
}

}  // namespace vantrel
