// Windows paths taken apart and put together, by the one set of rules every
// caller shares. A path is a root, folders and a name:
//   "C:\a\b"           root "C:\", folder "C:\a\", name "b"
//   "d:x"              root "d:" (the drive's current folder), name "x"
//   "\x"               root "\" (the current drive's)
//   "\\server\share\x" root "\\server\share", folder "\\server\share\"
// Both "\" and "/" separate. A root is never split or trimmed: "C:\" has no
// name, and "C:" stays "C:", which is not "C:\". Only the text is looked at:
// nothing here asks the file system.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

constexpr bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

bool EndsInSeparator(std::string_view path);

// "C:" as written for a path that begins with a drive letter, "" otherwise.
std::string_view DriveOf(std::string_view path);

// Whether the path begins with two separators: a share ("\\server\share"),
// or the device or long-path namespace ("\\.\COM1", "\\?\C:\x").
bool IsUncPath(std::string_view path);
// The share's name of a UNC path; "" when it names none ("\\server\").
std::string_view ShareOf(std::string_view path);

// "C:\", "C:", "\", "\\server\share" or "": the part no folder or name of
// the path can go above.
std::string_view RootOf(std::string_view path);

// The folder part, with its last separator; the root when the path has no
// folder below it; "" for a bare name.
std::string_view FolderOf(std::string_view path);
// What follows the folder part: "" when the path ends in a separator.
std::string_view NameOf(std::string_view path);

// The path without separators at its end, except those of its root.
std::string_view TrimSeparators(std::string_view path);

// name inside folder, with one separator between them: none is added after
// a separator, after a drive alone ("d:" + "x" is "d:x") or to no folder.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace vantrel
