// Ban.txt, the list of banned client addresses in DataFolder: one address
// per line, each ended by CR LF. It lives on disk only: every check reads it
// anew, so edits by hand take effect at the next connection request. A line
// names an address in any of its spellings (SameAddress).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class Interpreter;
class FileSystem;
class CodePages;

inline constexpr char kBanFileName[] = "\\Ban.txt";

// DataFolder + "\Ban.txt"; the caller knows the folder.
std::string BanFilePath(std::string_view dataFolder);

// The lines as the list is read: CR LF or a lone CR ends a line, a lone LF
// stays part of its line, and a last line end adds no empty line.
std::vector<std::string> BanLines(std::string_view contents);

// The list's text as the console's own: older versions wrote it in the
// legacy code page, this one writes UTF-8 (or the legacy code page where
// that is the process's).
bool ReadBanText(const FileSystem& files, const CodePages& pages, const std::string& path,
                 std::string* text, std::string* err);

// Whether a line names the address. A list that cannot be read bans nobody.
bool IsBanned(const FileSystem& files, const CodePages& pages, const std::string& path,
              const std::string& address);

// Adds the address and CR LF at the end, creating the list when missing; the
// list is replaced whole, and one that is there but cannot be read is left
// as it is (false).
bool AppendBan(FileSystem& files, const CodePages& pages, const std::string& path,
               const std::string& address, std::string* err);

// The bans of the kick key and the autoban: the address is appended only
// when no line holds it yet, so a client that keeps coming back adds one
// line, not one a visit. The list is read once for both.
bool BanOnce(FileSystem& files, const CodePages& pages, const std::string& path,
             const std::string& address, std::string* err);

// A remote-console event as an output line: "[" + date-time + "] " + text.
std::string LogLine(Interpreter& in, std::string_view text);

}  // namespace vantrel
