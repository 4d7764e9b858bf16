#include "startup/autoexec.h"

#include "interpreter/interpreter.h"
#include "interpreter/settings.h"
#include "platform/text_decoding.h"
#include "text/case_fold.h"

namespace vantrel {

namespace {

constexpr char kAutoexecName[] = "\\Autoexec.dcb";
constexpr char kEditor[] = "Notepad.exe";

}  // namespace

std::string AutoexecPath(Interpreter& in) {
    return in.SettingText(settings::kShortcutFolder) + kAutoexecName;
}

std::vector<std::string> PlacementLines(Interpreter& in, DockState dock,
                                        const std::optional<Point>& monitor) {
    // Appended piece by piece: g++ 12 warns (wrongly) of overlapping copies
    // in the one-expression form.
    std::string on;
    if (monitor) {
        on += ' ';
        on += std::to_string(monitor->x);
        on += ' ';
        on += std::to_string(monitor->y);
    }
    switch (dock) {
        case DockState::kBottom:
            return {"dock bottom" + on};
        case DockState::kFloating:
            return {"winpos " + in.SettingText(settings::kWinX) + " " +
                        in.SettingText(settings::kWinY) + " " + in.SettingText(settings::kWinWidth),
                    "dock off"};
        case DockState::kTop:
            if (monitor) return {"dock top" + on};
            break;
    }
    return {};
}

bool IsPlacementLine(const std::string& line) {
    const std::string lower = text::LowerCase(line.substr(0, 7));
    return lower.compare(0, 5, "dock ") == 0 || lower == "winpos ";
}

std::string WithPlacement(const std::string& contents, const std::vector<std::string>& placement) {
    std::string text;
    for (const std::string& line : placement) text += line + "\r\n";
    for (const std::string& line : SplitLines(contents)) {
        if (!IsPlacementLine(line)) text += line + "\r\n";
    }
    return text;
}

bool SavePlacement(Interpreter& in, DockState dock, const std::optional<Point>& monitor,
                   std::string* err) {
    FileSystem& files = in.Os().files;
    const std::string path = AutoexecPath(in);
    // The old text is read in full before anything is written, and the new
    // one takes its place only once it is complete: whatever fails on the
    // way (a file that cannot be read, a full disk, a read-only file), the
    // user's lines are never lost.
    std::string bytes;
    if (!files.AppendFile(path, "", err) || !files.ReadFile(path, &bytes, err)) return false;
    // The user's lines are written back as the console's own text, however
    // an older version or an editor stored them.
    const std::string contents = DecodeStoredText(in.Os().codePages, bytes, LineMix::kPerLine);
    return files.ReplaceFile(path, WithPlacement(contents, PlacementLines(in, dock, monitor)), err);
}

void OpenAutoexec(Interpreter& in) {
    std::string err;
    in.Os().processes.Start(std::string(kEditor) + " \"" + AutoexecPath(in) + "\"", kShowNormal,
                            &err);
}

}  // namespace vantrel
