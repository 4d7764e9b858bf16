// The history that lasts: every line the user enters is appended to a file
// of the user's own (History.txt in the application-data folder), newest
// last, and the next start fills the Up/Down history from it. Beside it an
// in-memory list of all lines, which the suggestion and the search read.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Whether the file may hold a line: one that is not empty, not over the
// limit, and text (no control character but the tab, which junk pasted in
// would bring and the command box could not show).
bool Writable(std::string_view line);

// The newest `keep` of lines (oldest first), each only at its newest place;
// lines compare exactly.
std::vector<std::string> NewestUnique(const std::vector<std::string>& lines, size_t keep);

// The lines a history file's text holds that it may hold: empty lines and
// those not Writable are left out, and *shed tells whether one of the
// latter was there. A last line without its line break is left out when
// dropTorn is set (the console was ended while writing it).
std::vector<std::string> HistoryFileLines(std::string_view contents, bool dropTorn,
                                          bool* shed = nullptr);

// All lines remembered, oldest first, each once, at most kHistoryLines.
class HistoryLines {
  public:
    void Assign(std::vector<std::string> lines);
    // Adds line as the newest, taking it from its older place. True when it
    // was there already.
    bool Add(const std::string& line);
    // Older lines, read later than the newer ones: each stays only where it
    // is newest.
    void PutBefore(std::vector<std::string> older);

    const std::vector<std::string>& Lines() const { return lines_; }
    // The rest of the newest line that begins with text (letter case
    // ignored) and is longer than it; empty when there is none.
    std::string_view SuggestionFor(std::string_view text) const;
    // The index of the newest line below `before` holding text anywhere
    // (letter case ignored); -1 when none does.
    int FindOlder(std::string_view text, int before) const;

  private:
    // Each line's case folded, so that a keystroke's search of ten
    // thousand lines is a plain byte search; "" where folding changes
    // nothing.
    std::string Folded(std::string_view line) const;
    const std::string& FoldedAt(size_t i) const {
        return folded_[i].empty() ? lines_[i] : folded_[i];
    }

    std::vector<std::string> lines_;
    std::vector<std::string> folded_;
};

// The file. Every method leaves the file whole whatever fails: appends add
// one complete line or (at worst, the process ending meanwhile) a torn one
// that the next load drops, and every rewrite is a ReplaceFile.
//
// A start reads only the file's end: LoadNewest gives the newest lines at
// once, whatever the file holds before them, and LoadOlder reads the rest
// a slice at a time; once it is all read, FinishLoad hands it over and
// writes the file anew if it holds what it would not write or more than it
// keeps.
class HistoryFile {
  public:
    HistoryFile(FileSystem& files, const CodePages& pages, std::string path)
        : files_(files), pages_(pages), path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // The lines of the last kNewestBytes of the file, oldest first.
    std::vector<std::string> LoadNewest();
    // Whether older lines are still to be read.
    bool Loading() const { return loading_; }
    // Reads at most maxBytes more of the older lines.
    void LoadOlder(size_t maxBytes);
    // Once nothing is Loading: the older lines, oldest first, each time
    // only those not taken yet. The file is rewritten when that is due.
    std::vector<std::string> FinishLoad();
    // The whole start-up read at once: the file's lines, newest last, each
    // once, at most kHistoryLines.
    std::vector<std::string> Load();

    // Appends line (a Writable one); duplicate tells whether the file holds
    // it already. The file is compacted when that is due.
    bool Append(const std::string& line, bool duplicate, std::string* err);
    // Reads the file again (so that its hand edits stay), keeps the newest
    // kHistoryLines lines each once, and replaces it with them.
    bool Compact(std::string* err);

    // What LoadNewest reads: the newest hundred lines of any ordinary use,
    // read faster than a window is shown.
    static constexpr size_t kNewestBytes = 256 * 1024;

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
    // A complete line of the older part, as bytes.
    void TakeOlderLine(std::string_view bytes);

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

    // The read of the older lines: where it is, up to where the newest
    // begin and where the file ended then, the part of a line a slice ended
    // in (or that an over-long line is being passed over), what was read,
    // whether all of it could be, and whether the file holds what it would
    // not write. From the start of a load until FinishLoad the file is not
    // counted nor compacted: it is known whole only then.
    bool loading_ = false;
    bool collecting_ = false;
    std::uint64_t olderAt_ = 0;
    std::uint64_t newestAt_ = 0;
    std::uint64_t loadedSize_ = 0;
    std::string partial_;
    bool passingOver_ = false;
    std::vector<std::string> older_;
    std::vector<std::string> newest_;
    bool readWhole_ = true;
    bool rewriteDue_ = false;
};

}  // namespace vantrel
