#include "platform/paths.h"

#include "text/char_class.h"

namespace vantrel {

namespace {

// Where the part of a UNC path that begins at from ends: at the next
// separator, or the end.
size_t PartEnd(std::string_view path, size_t from) {
    while (from < path.size() && !IsPathSeparator(path[from])) ++from;
    return from;
}

}  // namespace

bool EndsInSeparator(std::string_view path) {
    return !path.empty() && IsPathSeparator(path.back());
}

std::string_view DriveOf(std::string_view path) {
    if (path.size() < 2 || path[1] != ':' || !text::IsAsciiLetter(path[0])) return {};
    return path.substr(0, 2);
}

bool IsUncPath(std::string_view path) {
    return path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
}

std::string_view ShareOf(std::string_view path) {
    if (!IsUncPath(path)) return {};
    const size_t server = PartEnd(path, 2);
    if (server == path.size()) return {};
    return path.substr(server + 1, PartEnd(path, server + 1) - server - 1);
}

std::string_view RootOf(std::string_view path) {
    if (IsUncPath(path)) {
        const size_t server = PartEnd(path, 2);
        return path.substr(0, server == path.size() ? server : PartEnd(path, server + 1));
    }
    if (const std::string_view drive = DriveOf(path); !drive.empty()) {
        return path.substr(0, path.size() > 2 && IsPathSeparator(path[2]) ? 3 : 2);
    }
    return path.substr(0, !path.empty() && IsPathSeparator(path[0]) ? 1 : 0);
}

std::string_view FolderOf(std::string_view path) {
    const size_t root = RootOf(path).size();
    size_t end = path.size();
    while (end > root && !IsPathSeparator(path[end - 1])) --end;
    return path.substr(0, end);
}

std::string_view NameOf(std::string_view path) {
    return path.substr(FolderOf(path).size());
}

std::string_view TrimSeparators(std::string_view path) {
    const size_t root = RootOf(path).size();
    while (path.size() > root && IsPathSeparator(path.back())) path.remove_suffix(1);
    return path;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!folder.empty() && !EndsInSeparator(folder) && DriveOf(folder) != folder) joined += '\\';
    joined += name;
    return joined;
}

}  // namespace vantrel
