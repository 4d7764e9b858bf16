#include "console/handed_over.h"

#include "commands/power_commands.h"
#include "interpreter/interpreter.h"
#include "interpreter/launch.h"
#include "platform/shell.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel {

namespace {

// The states a send or a connection passes through: half-typed text waits
// them out.
bool IsPassing(ConsoleState state) {
    return state == kConnecting || state == kSending || state == kDisconnecting;
}

// Where the user could type a line and run or send it. An opened path
// runs here even while linked: Explorer's path is this machine's.
bool MayRun(ConsoleState state) {
    return state == kLocal || state == kRemoteLink;
}

}  // namespace

HandedOver ReadStartArgument(const std::string& argument) {
    const size_t n = sizeof(kOpenSwitch) - 1;
    const bool open = text::EqualsNoCase(std::string_view(argument).substr(0, n), kOpenSwitch) &&
                      (argument.size() == n || argument[n] == ' ' || argument[n] == '\t');
    if (!open) return {HandedOver::kLine, argument};
    size_t start = argument.find_first_not_of(" \t", n);
    if (start == std::string::npos) return {HandedOver::kOpen, ""};
    // Quotes cannot be part of a Windows path: the first pair encloses it.
    if (argument[start] == '"') {
        const size_t close = argument.find('"', start + 1);
        return {HandedOver::kOpen, argument.substr(start + 1, close - start - 1)};
    }
    size_t end = argument.find_last_not_of(" \t");
    return {HandedOver::kOpen, argument.substr(start, end + 1 - start)};
}

bool HandedOverQueue::Add(HandedOver item, bool endsConsole) {
    // A typed line is one line: a break inside would be a second line to a
    // peer, and Explorer's paths hold none.
    if (waiting_.size() >= kMaxWaiting || item.text.size() > kMaxHandOverBytes ||
        item.text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos ||
        (item.kind == HandedOver::kOpen && item.text.empty()) || ending_) {
        return false;
    }
    waiting_.push_back(std::move(item));
    ending_ = endsConsole;
    return true;
}

std::optional<HandedOver> HandedOverQueue::TakeRunnable(ConsoleState state) {
    if (waiting_.empty() || !MayRun(state)) return std::nullopt;
    HandedOver next = std::move(waiting_.front());
    waiting_.pop_front();
    // The line that ends the console is always the last: taken, it runs,
    // and if it did not end the console after all (a misuse), lines are
    // taken again.
    if (waiting_.empty()) ending_ = false;
    return next;
}

bool EndsConsole(std::string_view line, const LineMarkers& markers, const CommandTable& table) {
    return AnyCommandRow(line, markers.separator, table,
                         [](const CommandRow& row) { return row.handler == &ExitCommand; });
}

void OpenFromShell(Interpreter& in, const std::string& path) {
    FileSystem& files = in.Os().files;
    const bool folder = files.IsFolder(path);
    const std::string shown = (folder ? "cdd \"" : "\"") + path + "\"";
    in.Os().bar.SetCommandText(shown);
    in.RunShownLine(shown, [&] {
        std::string err;
        const bool done = folder ? files.SetCurrentDirectory(path, &err)
                                 : OpenTarget(in, path, "", kShowNormal, &err);
        if (!done && !err.empty()) in.PrintOut(err);
    });
}

std::optional<bool> RestoreHalfTyped(const HalfTyped& saved, ConsoleState state,
                                     const BarWindow& bar) {
    if (IsPassing(state)) return std::nullopt;
    return state == saved.state && bar.CommandText().empty();
}

}  // namespace vantrel
