// The history that lasts: every line the user enters is appended to a file
// of the user's own (History.txt in the application-data folder), newest
// last, and the next start fills the Up/Down history from it. Beside it an
// in-memory list of all lines, which the suggestion and the search read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_pages.h"
#include "platform/file_system.h"

namespace vantrel {

inline constexpr char kHistoryFileName[] = "History.txt";
// The file and the list keep this many lines, each one only at its newest
// place.
inline constexpr size_t kHistoryLines = 10000;
// Longer lines (a paste gone wrong) are run and browsed, but neither
// written nor searched: they would swell the file and every search.
inline constexpr size_t kHistoryLineLimit = 8192;
// The file is written anew when it holds this many lines, or when this
// many of those appended since it was last written were there already.
inline constexpr size_t kCompactAtLines = kHistoryLines + kHistoryLines / 4;
inline constexpr size_t kCompactAtDuplicates = kHistoryLines / 4;
// What stands for a password in a remembered line.
inline constexpr char kSecretMask[] = "********";

// A line typed with a blank first is the user's "do not remember this".
bool KeptPrivate(std::string_view line);

// The line as it may be remembered: in each command of it (split at the
// command separator as the interpreter splits it) LISTEN, CONNECT and ORID
// take a password after their first argument; from there to the end of the
// line everything is replaced by kSecretMask. A password holding the
// separator would otherwise leave its second half in the clear.
std::string MaskSecrets(std::string_view line, std::string_view separator);

// The newest `keep` of lines (oldest first), each only at its newest place;
// lines compare exactly.
std::vector<std::string> NewestUnique(const std::vector<std::string>& lines, size_t keep);

// The lines a history file's text holds: empty lines and over-long ones
// are left out. A last line without its line break is left out when
// dropTorn is set (the console was ended while writing it).
std::vector<std::string> HistoryFileLines(std::string_view contents, bool dropTorn);

// All lines remembered, oldest first, each once, at most kHistoryLines.
class HistoryLines {
  public:
    void Assign(std::vector<std::string> lines);
    // Adds line as the newest, taking it from its older place. True when it
    // was there already.
    bool Add(const std::string& line);

    const std::vector<std::string>& Lines() const { return lines_; }
    // The rest of the newest line that begins with text (letter case
    // ignored) and is longer than it; empty when there is none.
    std::string_view SuggestionFor(std::string_view text) const;
    // The index of the newest line below `before` holding text anywhere
    // (letter case ignored); -1 when none does.
    int FindOlder(std::string_view text, int before) const;

  private:
    std::vector<std::string> lines_;
};

// The file. Every method leaves the file whole whatever fails: appends add
// one complete line or (at worst, the process ending meanwhile) a torn one
// that the next load drops, and every rewrite is a ReplaceFile.
class HistoryFile {
  public:
    HistoryFile(FileSystem& files, const CodePages& pages, std::string path)
        : files_(files), pages_(pages), path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    // The start-up read: the file's lines, newest last, each once, at most
    // kHistoryLines. A torn last line is dropped and the file mended, and a
    // file that grew past its bounds is written anew.
    std::vector<std::string> Load();
    // Appends line (not over kHistoryLineLimit); duplicate tells whether the
    // file holds it already. The file is compacted when that is due.
    bool Append(const std::string& line, bool duplicate, std::string* err);
    // Reads the file again (so that its hand edits stay), keeps the newest
    // kHistoryLines lines each once, and replaces it with them.
    bool Compact(std::string* err);

  private:
    // A file edited by hand may end without a line break: the next line
    // then starts a line of its own instead of joining that one.
    bool EndsOpen() const;
    // The file's text as the console's own. Older versions wrote their
    // lines in the legacy code page and this one appends UTF-8 to them, so
    // each line is read as what it is.
    bool Read(std::string* contents, std::string* err) const;
    bool Rewrite(const std::vector<std::string>& lines, std::string* err);
    bool Mend(std::string* err);

    FileSystem& files_;
    const CodePages& pages_;
    std::string path_;
    // Lines in the file and the repeated ones among those appended, as far
    // as this console knows.
    size_t lines_ = 0;
    size_t duplicates_ = 0;
    // An append failed and may have left part of its line: the next one
    // first writes the file anew without it.
    bool torn_ = false;
};

}  // namespace vantrel
