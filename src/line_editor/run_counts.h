// How often and how recently the user ran each program or command: the
// first word of every line the user runs, counted under its name alone (no
// folder, extension or letter case), so that a shortcut chosen by Tab and
// the same program typed by name count together. Among equally good
// matches, Tab and "Did you mean" put what weighs most first.
//
// The counts last in Runs.txt beside the history file: each run appends one
// line "count TAB minute TAB name", a load adds up the lines of a name, and
// the file is written anew, one line a name, once it holds many more lines
// than names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/clock.h"

namespace vantrel {

inline constexpr char kRunsFileName[] = "Runs.txt";

// Minutes since 2000-01-01 00:00 of a local time.
std::int64_t MinuteOf(const LocalTime& time);

class RunCounts {
  public:
    // The name a word is counted under: its last path part, without quotes
    // and an extension of up to four letters, case folded. "" for a word
    // that is not counted: empty, over kLongestName, or holding a control
    // character.
    static std::string KeyOf(std::string_view word);

    // Counts a run of word at minute; the line to append to the file, or ""
    // when nothing was counted.
    std::string Ran(std::string_view word, std::int64_t minute);
    // What a word's runs weigh at minute now: the count, more for a recent
    // last run, less for an old one; 0 for a name never run.
    double Weight(std::string_view word, std::int64_t now) const;

    // Adds the lines of a file's text; lines it cannot read are passed over.
    // How many lines it held comes back.
    size_t Read(std::string_view text);
    // The file's text as the counts stand: a line a name.
    std::string FileText() const;
    size_t Names() const { return entries_.size(); }

    static constexpr size_t kLongestName = 260;
    // Bounds on what is kept however long the console lives: past
    // kMostNames the least weighty name goes, and once the counts add up to
    // kAgeAtTotal every count is halved, so that old habits fade.
    static constexpr size_t kMostNames = 2000;
    static constexpr std::uint64_t kAgeAtTotal = 20000;

  private:
    struct Entry {
        std::uint64_t count = 0;
        std::int64_t minute = 0;
    };
    void Add(std::string key, std::uint64_t count, std::int64_t minute);
    static double WeightOf(const Entry& entry, std::int64_t now);

    std::unordered_map<std::string, Entry> entries_;
    std::uint64_t total_ = 0;
};

}  // namespace vantrel
