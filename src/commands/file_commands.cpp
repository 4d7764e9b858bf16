#include "commands/file_commands.h"

#include <algorithm>

#include "interpreter/interpreter.h"
#include "interpreter/line_text.h"
#include "platform/device_names.h"
#include "platform/paths.h"
#include "platform/text_decoding.h"
#include "text/number_settings.h"
#include "text/utf8.h"

namespace vantrel {

namespace {

constexpr char kNoFolderNames[] = "Cannot use folder names with DIR";
constexpr char kUseDosDir[] = "To view the contents of another folder, use DOS DIR [path]";
constexpr char kNoMatches[] = "No matching files or folders";
constexpr std::string_view kDirDateHeading = "Last modified";
constexpr char kDirHeaderRest[] = "|    Size (bytes)    |               Filename";
// The header's rule is 80 characters, the names' part at least this many.
constexpr size_t kDirRuleWidth = 80;
constexpr size_t kDirNamesRuleMin = 20;
constexpr char kAlreadyExists[] = "Another file with that name already exists";
constexpr char kSourceNotFound[] = "Source file/folder not found";
constexpr char kFileNotFound[] = "File not found";
constexpr char kEditor[] = "Notepad.exe";
constexpr int kSizeColumn = 18;
// TYPE reads at most this much: the pane keeps only its last lines, and a
// huge file would otherwise fill the memory on its way there.
constexpr std::size_t kTypeLimit = 1 << 20;

using FileOperation = bool (FileSystem::*)(const std::string&, const std::string&, std::string*);

void Report(Interpreter& in, bool ok, const std::string& err) {
    if (!ok) in.PrintOut(err);
}

bool HasWildcards(const std::string& path) {
    return path.find_first_of("*?") != std::string::npos;
}

// Files onto a destination that may be a folder. An existing file is
// never overwritten; one file into a folder keeps its name there
// (firstName, the name of the first file that source finds).
void TransferFiles(Interpreter& in, const std::string& source, const std::string& firstName,
                   const std::string& destination, FileOperation operation) {
    FileSystem& files = in.Os().files;
    std::string err;
    // A destination ending in "\" names a folder, so the test is on the
    // file of the same name inside it rather than on any file in there.
    const bool namedFolder = EndsInSeparator(destination);
    if (!namedFolder && files.Exists(destination, FileMask::kFiles)) {
        in.PrintOut(kAlreadyExists);
        return;
    }
    if (HasWildcards(source) || !(namedFolder || files.IsFolder(destination))) {
        Report(in, (files.*operation)(source, destination, &err), err);
        return;
    }
    const std::string target = JoinPath(destination, firstName);
    if (files.Exists(target, FileMask::kFiles)) {
        in.PrintOut(kAlreadyExists);
        return;
    }
    Report(in, (files.*operation)(source, target, &err), err);
}

// A device is no file: as a source it is not found, and its name is taken
// as a destination. True when that was answered.
bool AnsweredDevice(Interpreter& in, const std::string& source, const std::string& destination) {
    const char* answer = IsDeviceName(source)        ? kSourceNotFound
                         : IsDeviceName(destination) ? kAlreadyExists
                                                     : nullptr;
    if (answer) in.PrintOut(answer);
    return answer != nullptr;
}

// COPY and MOVE: files first, then folders.
void Transfer(Interpreter& in, const Command& c, FileOperation fileOperation,
              FileOperation folderOperation) {
    const std::string source = c.Arg(1), destination = c.Arg(2);
    if (AnsweredDevice(in, source, destination)) return;
    FileSystem& files = in.Os().files;
    std::string err;
    std::vector<FileEntry> found = files.Find(source, FileMask::kFiles);
    if (!found.empty()) {
        TransferFiles(in, source, found.front().name, destination, fileOperation);
    } else if (files.Exists(source, FileMask::kFilesAndFolders)) {
        Report(in, (files.*folderOperation)(source, destination, &err), err);
    } else {
        in.PrintOut(kSourceNotFound);
    }
}

// The file name argument of TYPE and EDIT; prints "File not found" and
// returns "" when there is none to use.
std::string ExistingFile(Interpreter& in, const Command& c) {
    std::string name = RemoveQuotes(c.args);
    if (name.empty() || IsDeviceName(name) || !in.Os().files.Exists(name, FileMask::kFiles)) {
        in.PrintOut(kFileNotFound);
        return "";
    }
    return name;
}

}  // namespace

std::string GroupThousands(std::int64_t value, std::string_view separator) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::string grouped = text::GroupDigits(std::to_string(magnitude), separator, 3);
    return value < 0 ? "-" + grouped : grouped;
}

DirColumns DirColumnsOf(const Clock& clock) {
    // Two-digit days of every month and weekday, and the two-digit hours of
    // morning and afternoon, give the longest texts a picture can make.
    size_t date = 0, time = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 22; day <= 28; ++day) {
            const LocalTime probe{2000, month, day};
            date = std::max(date, text::utf8::CountUnits(clock.FormatDate(probe)));
        }
    }
    for (int hour : {10, 22}) {
        const LocalTime probe{2000, 1, 1, hour, 59, 59};
        time = std::max(time, text::utf8::CountUnits(clock.FormatTime(probe)));
    }
    return {std::max(date + 1 + time, kDirDateHeading.size()), clock.Numbers().grouping};
}

std::string FormatDirEntry(const FileEntry& entry, const Clock& clock, const DirColumns& columns) {
    const LocalTime& t = entry.modified;
    std::string date = clock.FormatDate(t) + " " + clock.FormatTime(t);
    const size_t dateUnits = text::utf8::CountUnits(date);
    if (dateUnits < columns.dateWidth) date.insert(0, columns.dateWidth - dateUnits, ' ');
    std::string size = entry.folder ? "<DIR>" : GroupThousands(entry.size, columns.separator);
    // The column keeps its width; only a size of more than 14 digits would
    // widen it rather than lose digits.
    const size_t sizeUnits = text::utf8::CountUnits(size);
    if (sizeUnits < kSizeColumn) size.insert(0, kSizeColumn - sizeUnits, ' ');
    return " " + date + " | " + size + " | " + entry.name;
}

void PrintTextLines(Interpreter& in, std::string_view text) {
    for (const std::string& line : SplitLines(text)) in.PrintOut(line);
}

std::string OnlyFirstBytesLine(std::size_t limit, const char* what) {
    return "Only the first " + std::to_string(limit) + " bytes of the " + what + " are shown";
}

bool PrintFileStart(Interpreter& in, const std::string& path, std::size_t limit, const char* what,
                    std::string* err) {
    std::string bytes;
    bool more = false;
    if (!in.Os().files.ReadFilePart(path, 0, limit, &bytes, &more, err)) return false;
    // The limit may fall inside a character; it is left out rather than
    // shown as the bytes of another code page.
    TextDecoder decoder(in.Os().codePages, Fallback::kLegacy, false);
    std::string text = decoder.Next(bytes);
    text += more ? decoder.Cut() : decoder.Finish();
    PrintTextLines(in, text);
    if (more) in.PrintOut(OnlyFirstBytesLine(limit, what));
    return true;
}

void DirCommand(Interpreter& in, const Command& c) {
    const std::string& rest = c.args;
    if (rest.find_first_of("\\/") != std::string::npos || rest == "." || rest == "..") {
        in.PrintOut(kNoFolderNames);
        in.PrintOut(kUseDosDir);
        return;
    }
    std::string pattern = RemoveQuotes(rest);
    if (pattern.empty()) pattern = "*.*";
    if (pattern[0] == '.') pattern = "*" + pattern;
    std::vector<FileEntry> entries;
    if (!IsDeviceName(pattern)) entries = in.Os().files.Find(pattern, FileMask::kFilesAndFolders);
    if (entries.empty()) {
        in.PrintOut(kNoMatches);
        return;
    }
    // The date column is as wide as the regional forms make it; the names'
    // part of the rule gives way so that the rule stays 80 characters.
    const Clock& clock = in.Os().clock;
    const DirColumns columns = DirColumnsOf(clock);
    const size_t dateCell = columns.dateWidth + 2;
    const size_t left = (dateCell - kDirDateHeading.size()) / 2;
    in.PrintOut(std::string(left, ' ') + std::string(kDirDateHeading) +
                std::string(dateCell - kDirDateHeading.size() - left, ' ') + kDirHeaderRest);
    const size_t sizeCell = kSizeColumn + 2;
    const size_t names =
        kDirRuleWidth - std::min(kDirRuleWidth - kDirNamesRuleMin, dateCell + 1 + sizeCell + 1);
    in.PrintOut(std::string(dateCell, '-') + "|" + std::string(sizeCell, '-') + "|" +
                std::string(names, '-'));
    for (const FileEntry& entry : entries) in.PrintOut(FormatDirEntry(entry, clock, columns));
}

void CopyCommand(Interpreter& in, const Command& c) {
    Transfer(in, c, &FileSystem::CopyFile, &FileSystem::CopyFolder);
}

void MoveCommand(Interpreter& in, const Command& c) {
    Transfer(in, c, &FileSystem::MoveFile, &FileSystem::MoveFolder);
}

void RenameCommand(Interpreter& in, const Command& c) {
    const std::string source = c.Arg(1), destination = c.Arg(2);
    if (AnsweredDevice(in, source, destination)) return;
    FileSystem& files = in.Os().files;
    std::string err;
    if (!files.Exists(source, FileMask::kFilesAndFolders)) {
        in.PrintOut(kSourceNotFound);
    } else if (files.Exists(destination, FileMask::kFiles)) {
        in.PrintOut(kAlreadyExists);
    } else {
        Report(in, files.Rename(source, destination, &err), err);
    }
}

void DelCommand(Interpreter& in, const Command& c) {
    FileSystem& files = in.Os().files;
    std::string pattern = RemoveQuotes(c.args);
    if (IsDeviceName(pattern) || !files.Exists(pattern, FileMask::kFiles)) {
        in.PrintOut(kFileNotFound);
        return;
    }
    std::string err;
    Report(in, files.DeleteFiles(pattern, &err), err);
}

void TypeCommand(Interpreter& in, const Command& c) {
    std::string name = ExistingFile(in, c);
    std::string err;
    if (!name.empty() && !PrintFileStart(in, name, kTypeLimit, "file", &err)) in.PrintOut(err);
}

void EditCommand(Interpreter& in, const Command& c) {
    std::string name = ExistingFile(in, c);
    if (name.empty()) return;
    std::string err;
    Report(in,
           in.Os().processes.Start(std::string(kEditor) + " \"" + name + "\"", kShowNormal, &err),
           err);
}

void PathCommand(Interpreter& in, const Command&) {
    in.PrintOut(TrimSpaces(in.EnvGet("path")));
}

}  // namespace vantrel
