#include "commands/batch_commands.h"

#include "interpreter/interpreter.h"
#include "interpreter/line_text.h"
#include "interpreter/settings.h"
#include "platform/device_names.h"
#include "platform/paths.h"
#include "text/compare.h"

namespace vantrel {

namespace {

constexpr char kAlreadyExists[] = "File already exists";
constexpr char kUseEditBatch[] = "Please use EDITBATCH to edit this file";
constexpr char kFileNotFound[] = "File not found";
constexpr char kEditor[] = "Notepad.exe";
constexpr char kDefaultMarker[] = "`";

std::string BatchPath(Interpreter& in, const std::string& name) {
    return JoinPath(in.SettingText(settings::kShortcutFolder), name + ".dcb");
}

// The files are written for the marker in use; without one they still get
// the default, so that they work once it is back.
std::string Marker(Interpreter& in) {
    std::string marker = in.SettingText(settings::kVarString);
    return marker.empty() ? kDefaultMarker : marker;
}

// What follows the name on the line: the name and one blank dropped, and
// the closing quote and blank of a quoted name.
std::string TextAfterName(const Command& c, const std::string& name) {
    std::string text = name.size() + 1 < c.args.size() ? c.args.substr(name.size() + 1) : "";
    if (text.compare(0, 2, "\" ") == 0) text.erase(0, 2);
    return text;
}

void OpenInEditor(Interpreter& in, const std::string& path) {
    std::string err;
    if (!in.Os().processes.Start(std::string(kEditor) + " \"" + path + "\"", kShowNormal, &err)) {
        in.PrintOut(err);
    }
}

// Writes a new batch file and opens it; an existing one is left alone.
void CreateBatch(Interpreter& in, const std::string& path, const std::string& contents) {
    FileSystem& files = in.Os().files;
    if (files.Exists(path, FileMask::kFiles)) {
        in.PrintOut(kAlreadyExists);
        in.PrintOut(kUseEditBatch);
        return;
    }
    std::string err, ignored;
    if (!files.WriteFile(path, contents, &err)) {
        // A write that failed on the way leaves no half batch file behind.
        files.DeleteFiles(path, &ignored);
        in.PrintOut(err);
        return;
    }
    OpenInEditor(in, path);
}

// The batch file that EDITBATCH and DELBATCH act on, or "" when the name
// does not fit (the syntax lines are printed) or no such file exists. A
// wildcard would name many files: for DELBATCH every batch file,
// Autoexec.dcb among them.
std::string ExistingBatch(Interpreter& in, const Command& c) {
    std::string name = RemoveQuotes(c.args);
    if (!IsValidBatchName(name) || name.find_first_of("*?") != std::string::npos) {
        PrintSyntax(in, c);
        return "";
    }
    std::string path = BatchPath(in, name);
    if (!in.Os().files.Exists(path, FileMask::kFiles)) {
        in.PrintOut(kFileNotFound);
        return "";
    }
    return path;
}

}  // namespace

bool IsValidBatchName(const std::string& name) {
    const bool dcbEnding = name.size() >= 4 && name.compare(name.size() - 4, 4, ".dcb") == 0;
    return !name.empty() && name.find_first_of("\\/") == std::string::npos && !dcbEnding &&
           !IsDeviceName(name);
}

void AddBatchCommand(Interpreter& in, const Command& c) {
    const std::string name = c.Arg(1);
    if (!IsValidBatchName(name)) {
        PrintSyntax(in, c);
        return;
    }
    const std::string m = Marker(in);
    const std::string folder = in.Os().files.CurrentDirectory();
    std::string contents;
    if (c.Arg(2).empty()) {
        contents = "cdd " + folder + "\r\n";
    } else {
        // Runs the command in the folder where the shortcut was made, with
        // the batch file's arguments, and comes back to where it was.
        contents = "set OldDir=" + m + settings::kCurDir + m + "\r\n" + "cdd " + folder + "\r\n" +
                   TextAfterName(c, name) + " " + m + m + "\r\n" + "cdd " + m + "OldDir" + m +
                   "\r\n" + "set OldDir=\r\n";
    }
    CreateBatch(in, BatchPath(in, name), contents);
}

void AddSearchCommand(Interpreter& in, const Command& c) {
    const std::string name = c.Arg(1);
    const std::string url = TextAfterName(c, name);
    if (!IsValidBatchName(name) || url.empty() ||
        text::FindNoCase(url, "%s") == std::string::npos) {
        PrintSyntax(in, c);
        return;
    }
    const std::string m = Marker(in);
    // The search text arrives as the batch file's arguments and is encoded
    // for the address before it is put in.
    const std::string contents = "set Search=" + m + m + "\r\n" + "urlhex Search\r\n" +
                                 text::ReplaceAll(url, "%s", m + "Search" + m, true) + "\r\n" +
                                 "set Search=\r\n";
    CreateBatch(in, BatchPath(in, name), contents);
}

void EditBatchCommand(Interpreter& in, const Command& c) {
    std::string path = ExistingBatch(in, c);
    if (!path.empty()) OpenInEditor(in, path);
}

void DelBatchCommand(Interpreter& in, const Command& c) {
    std::string path = ExistingBatch(in, c);
    if (path.empty()) return;
    std::string err;
    if (!in.Os().files.DeleteFiles(path, &err)) in.PrintOut(err);
}

void ShortcutsCommand(Interpreter& in, const Command&) {
    std::string err;
    in.Os().files.SetCurrentDirectory(in.SettingText(settings::kShortcutFolder), &err);
}

}  // namespace vantrel
