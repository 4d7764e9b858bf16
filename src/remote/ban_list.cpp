#include "remote/ban_list.h"

#include "interpreter/interpreter.h"
#include "interpreter/text.h"
#include "remote/ip_address.h"

namespace vantrel {

std::string BanFilePath(std::string_view dataFolder) {
    return std::string(dataFolder) + kBanFileName;
}

std::vector<std::string> BanLines(std::string_view contents) {
    return SplitLines(contents, "\r");
}

bool IsBanned(const FileSystem& files, const std::string& path, const std::string& address) {
    std::string contents, err;
    if (!files.ReadFile(path, &contents, &err)) return false;
    for (const std::string& line : BanLines(contents)) {
        if (SameAddress(line, address)) return true;
    }
    return false;
}

// The list is written anew in one piece rather than appended to: an append
// cut short would leave half an address for the next one to join. A list
// that is there but cannot be read is left as it is.
bool AppendBan(FileSystem& files, const std::string& path, const std::string& address,
               std::string* err) {
    std::string contents;
    if (!files.ReadFile(path, &contents, err)) {
        if (files.Exists(path, FileMask::kFiles)) return false;
        contents.clear();
    }
    if (!contents.empty() && contents.back() != '\n') contents += "\r\n";
    return files.ReplaceFile(path, contents + address + "\r\n", err);
}

bool BanOnce(FileSystem& files, const std::string& path, const std::string& address,
             std::string* err) {
    return IsBanned(files, path, address) || AppendBan(files, path, address, err);
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
