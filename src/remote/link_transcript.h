// The transcript of the console's links, served and made: a UTF-8 text
// file a day in the folder "Links" beside History.txt, named by its date
// ("2026-12-09.txt"). Each event is one line, "HH:MM:SS #N text" in local
// time with the link's number, appended as it happens, so a crash loses
// nothing already written. The caller keeps secrets out of the text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace vantrel {

class FileSystem;

inline constexpr char kLinksFolderName[] = "Links";
// LinkLogDays when it is no number of days.
inline constexpr int kDefaultLinkLogDays = 90;

class LinkTranscript {
  public:
    // folder: the Links folder, made when first written to; "" when the
    // console has no folder of its own, and nothing can be written.
    LinkTranscript(FileSystem& files, const Clock& clock, std::string folder);

    // The next link's number: one past the last that today's file holds,
    // so numbers stay apart across the console's restarts.
    long NewLink();
    // Appends the event; false, with *why, when it could not be written.
    bool Write(long link, std::string_view text, std::string* why);
    // Removes the day files older than days (counted from today); files
    // whose names are no date are left alone.
    void Prune(int days);

  private:
    std::string DayFile(const LocalTime& day) const;
    long LastNumber(const std::string& path) const;

    FileSystem& files_;
    const Clock& clock_;
    const std::string folder_;
    long nextLink_ = 0;
    std::string numberedFile_;  // the day file the numbers were read from
    // The folder was there at the last write, so a busy link's every line
    // is one append, not a look for the folder first.
    bool folderThere_ = false;
};

}  // namespace vantrel
