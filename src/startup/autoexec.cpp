#include "startup/autoexec.h"

#include "interpreter/command_table.h"
#include "interpreter/interpreter.h"
#include "interpreter/text.h"

namespace vantrel {

namespace {

constexpr char kAutoexecName[] = "\\Autoexec.dcb";
constexpr char kEditor[] = "Notepad.exe";

// The lines SavePos owns. "dock" or "winpos" alone, or after leading
// blanks, belong to the user.
bool IsPlacementLine(const std::string& line) {
    std::string lower = LowerCase(line.substr(0, 7));
    return lower.compare(0, 5, "dock ") == 0 || lower == "winpos ";
}

}  // namespace

std::string AutoexecPath(Interpreter& in) {
    return in.EvaluateText("ShortcutFolder") + kAutoexecName;
}

std::vector<std::string> PlacementLines(Interpreter& in) {
    switch (in.dockState) {
        case kDockedBottom:
            return {"dock bottom"};
        case kFloating:
            return {"winpos " + in.EvaluateText("WinX") + " " + in.EvaluateText("WinY") + " " +
                        in.EvaluateText("WinWidth"),
                    "dock off"};
        default:
            return {};
    }
}

std::string WithPlacement(const std::string& contents, const std::vector<std::string>& placement) {
    std::string text;
    for (const std::string& line : placement) text += line + "\r\n";
    for (const std::string& line : SplitLines(contents)) {
        if (!IsPlacementLine(line)) text += line + "\r\n";
    }
    return text;
}

bool SavePos(Interpreter& in, std::string* err) {
    FileSystem& files = in.Os().files;
    const std::string path = AutoexecPath(in);
    // The old text is read in full before anything is written, and the new
    // one takes its place only once it is complete: whatever fails on the
    // way (a file that cannot be read, a full disk, a read-only file), the
    // user's lines are never lost.
    std::string contents;
    if (!files.AppendFile(path, "", err) || !files.ReadFile(path, &contents, err)) return false;
    return files.ReplaceFile(path, WithPlacement(contents, PlacementLines(in)), err);
}

void EditAutoexec(Interpreter& in) {
    std::string err;
    in.Os().processes.Start(std::string(kEditor) + " \"" + AutoexecPath(in) + "\"", kShowNormal,
                            &err);
}

void SavePosCommand(Interpreter& in, const Command& c) {
    if (!c.args.empty()) {
        PrintSyntax(in, c);
        return;
    }
    // A placement that cannot be saved leaves the file as it was; like the
    // tray menu's item, the command stays silent.
    std::string err;
    SavePos(in, &err);
}

}  // namespace vantrel
