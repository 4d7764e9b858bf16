#include "remote/link_transcript.h"

#include <algorithm>
#include <cstdio>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "script/dates.h"
#include "text/char_class.h"

namespace vantrel {

namespace {

// What a line keeps of a very long text: a client may send lines of
// megabytes, and the transcript is read by a person.
constexpr size_t kMaxEventText = 1000;
// How much of the end of a day file is read for its last link number.
constexpr size_t kTailBytes = 4096;

std::string TwoDigits(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// One line of text whatever the peer sent: a line end or another control
// character would let it write a line of its own into the transcript.
std::string OneLine(std::string_view text) {
    std::string line;
    const size_t kept = std::min(text.size(), kMaxEventText);
    line.reserve(kept + 40);
    for (size_t i = 0; i < kept; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        line += c < 0x20 || c == 0x7f ? ' ' : static_cast<char>(c);
    }
    if (kept < text.size()) line += "... (" + std::to_string(text.size()) + " characters in all)";
    return line;
}

// The day a file is named for, as days since 1970; false for other names.
bool DayOfName(std::string_view name, std::int64_t* days) {
    int year = 0, month = 0, day = 0;
    if (name.size() != 14 || name.substr(10) != ".txt" || name[4] != '-' || name[7] != '-') {
        return false;
    }
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!text::IsAsciiDigit(name[i])) return false;
    }
    year = std::stoi(std::string(name.substr(0, 4)));
    month = std::stoi(std::string(name.substr(5, 2)));
    day = std::stoi(std::string(name.substr(8, 2)));
    if (month < 1 || month > 12 || day < 1 || day > script::DaysInMonth(year, month)) return false;
    *days = script::DaysFromCivil(year, month, day);
    return true;
}

}  // namespace

LinkTranscript::LinkTranscript(FileSystem& files, const Clock& clock, std::string folder)
    : files_(files), clock_(clock), folder_(std::move(folder)) {}

std::string LinkTranscript::DayFile(const LocalTime& day) const {
    return JoinPath(folder_, std::to_string(day.year) + "-" + TwoDigits(day.month) + "-" +
                                 TwoDigits(day.day) + ".txt");
}

long LinkTranscript::LastNumber(const std::string& path) const {
    const std::vector<FileEntry> found = files_.Find(path, FileMask::kFiles);
    if (found.empty()) return 0;
    const std::uint64_t size = static_cast<std::uint64_t>(found[0].size);
    std::string tail, err;
    bool more = false;
    const std::uint64_t from = size > kTailBytes ? size - kTailBytes : 0;
    if (!files_.ReadFilePart(path, from, kTailBytes, &tail, &more, &err)) return 0;
    // The last line that begins "HH:MM:SS #": its number.
    long last = 0;
    for (size_t at = tail.find(" #"); at != std::string::npos; at = tail.find(" #", at + 2)) {
        if (at < 8 || (at > 8 && tail[at - 9] != '\n')) continue;
        long n = 0;
        size_t i = at + 2;
        while (i < tail.size() && text::IsAsciiDigit(tail[i]) && n < 100000000) {
            n = n * 10 + (tail[i++] - '0');
        }
        if (i > at + 2) last = n;
    }
    return last;
}

long LinkTranscript::NewLink() {
    const std::string path = DayFile(clock_.Now());
    if (path != numberedFile_) {
        numberedFile_ = path;
        nextLink_ = folder_.empty() ? 1 : LastNumber(path) + 1;
    }
    return nextLink_++;
}

bool LinkTranscript::Write(long link, std::string_view text, std::string* why) {
    if (folder_.empty()) {
        *why = "the environment names no APPDATA folder to keep it in";
        return false;
    }
    std::string err;
    if (!folderThere_ && !files_.IsFolder(folder_) && !files_.MakeFolder(folder_, &err)) {
        *why = folder_ + ": " + err;
        return false;
    }
    folderThere_ = true;
    const LocalTime now = clock_.Now();
    const std::string line = TwoDigits(now.hour) + ":" + TwoDigits(now.minute) + ":" +
                             TwoDigits(now.second) + " #" + std::to_string(link) + " " +
                             OneLine(text) + "\r\n";
    const std::string path = DayFile(now);
    if (!files_.AppendFile(path, line, &err)) {
        folderThere_ = false;  // perhaps gone since: looked for again next time
        *why = path + ": " + err;
        return false;
    }
    return true;
}

void LinkTranscript::Prune(int days) {
    if (folder_.empty() || days < 1) return;
    const LocalTime now = clock_.Now();
    const std::int64_t today = script::DaysFromCivil(now.year, now.month, now.day);
    for (const FileEntry& entry : files_.Find(JoinPath(folder_, "*.txt"), FileMask::kFiles)) {
        std::int64_t day = 0;
        std::string err;
        if (DayOfName(entry.name, &day) && today - day > days) {
            files_.DeleteFiles(JoinPath(folder_, entry.name), &err);
        }
    }
}

}  // namespace vantrel
