#include "remote/ban_list.h"

#include <utility>

#include "interpreter/interpreter.h"
#include "platform/text_decoding.h"
#include "remote/ip_address.h"

namespace vantrel {

std::string BanFilePath(std::string_view dataFolder) {
    return std::string(dataFolder) + kBanFileName;
}

std::vector<std::string> BanLines(std::string_view contents) {
    return SplitLines(contents, "\r");
}

namespace {

// The list as it stands: one that is missing reads as empty, one that is
// there but cannot be read fails.
bool ReadList(const FileSystem& files, const CodePages& pages, const std::string& path,
              std::string* contents, std::string* err) {
    if (ReadBanText(files, pages, path, contents, err)) return true;
    contents->clear();
    return !files.Exists(path, FileMask::kFiles);
}

bool Listed(std::string_view contents, const std::string& address) {
    for (const std::string& line : BanLines(contents)) {
        if (SameAddress(line, address)) return true;
    }
    return false;
}

// The list is written anew in one piece rather than appended to: an append
// cut short would leave half an address for the next one to join.
bool WriteWith(FileSystem& files, const std::string& path, std::string contents,
               const std::string& address, std::string* err) {
    if (!contents.empty() && contents.back() != '\n') contents += "\r\n";
    return files.ReplaceFile(path, contents + address + "\r\n", err);
}

}  // namespace

bool ReadBanText(const FileSystem& files, const CodePages& pages, const std::string& path,
                 std::string* text, std::string* err) {
    std::string bytes;
    if (!files.ReadFile(path, &bytes, err)) return false;
    *text = DecodeStoredText(pages, bytes);
    return true;
}

bool IsBanned(const FileSystem& files, const CodePages& pages, const std::string& path,
              const std::string& address) {
    std::string contents, err;
    return ReadBanText(files, pages, path, &contents, &err) && Listed(contents, address);
}

bool AppendBan(FileSystem& files, const CodePages& pages, const std::string& path,
               const std::string& address, std::string* err) {
    std::string contents;
    return ReadList(files, pages, path, &contents, err) &&
           WriteWith(files, path, std::move(contents), address, err);
}

bool BanOnce(FileSystem& files, const CodePages& pages, const std::string& path,
             const std::string& address, std::string* err) {
    std::string contents;
    if (!ReadList(files, pages, path, &contents, err)) return false;
    return Listed(contents, address) || WriteWith(files, path, std::move(contents), address, err);
}

std::string LogLine(Interpreter& in, std::string_view text) {
    const Clock& clock = in.Os().clock;
    LocalTime now = clock.Now();
    std::string line = "[";
    line.append(clock.FormatDate(now)).append(" ").append(clock.FormatTime(now)).append("] ");
    line.append(text);
    return line;
}

}  // namespace vantrel
