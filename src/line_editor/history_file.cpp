#include "line_editor/history_file.h"

#include <algorithm>
#include <unordered_set>

#include "platform/text_decoding.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel {

namespace {

std::string HistoryText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace

bool Writable(std::string_view line) {
    if (line.empty() || line.size() > kHistoryLineLimit) return false;
    return std::none_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
}

std::vector<std::string> NewestUnique(const std::vector<std::string>& lines, size_t keep) {
    std::vector<std::string> kept;
    std::unordered_set<std::string_view> seen;
    for (auto it = lines.rbegin(); it != lines.rend() && kept.size() < keep; ++it) {
        if (seen.insert(*it).second) kept.push_back(*it);
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

std::vector<std::string> HistoryFileLines(std::string_view contents, bool dropTorn, bool* shed) {
    const bool torn = !contents.empty() && contents.back() != '\n' && contents.back() != '\r';
    std::vector<std::string> lines = SplitLines(contents);
    if (torn && dropTorn) lines.pop_back();
    std::erase_if(lines, [](const std::string& line) { return line.empty(); });
    const size_t written = lines.size();
    std::erase_if(lines, [](const std::string& line) { return !Writable(line); });
    if (shed) *shed = lines.size() < written;
    return lines;
}

void HistoryLines::Assign(std::vector<std::string> lines) {
    lines_ = NewestUnique(lines, kHistoryLines);
    folded_.clear();
    for (const std::string& line : lines_) folded_.push_back(Folded(line));
}

bool HistoryLines::Add(const std::string& line) {
    auto old = std::find(lines_.rbegin(), lines_.rend(), line);
    const bool duplicate = old != lines_.rend();
    if (duplicate) {
        const size_t at = static_cast<size_t>(std::distance(lines_.begin(), std::next(old).base()));
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
        folded_.erase(folded_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    lines_.push_back(line);
    folded_.push_back(Folded(line));
    if (lines_.size() > kHistoryLines) {
        lines_.erase(lines_.begin());
        folded_.erase(folded_.begin());
    }
    return duplicate;
}

void HistoryLines::PutBefore(std::vector<std::string> older) {
    if (older.empty()) return;
    older.insert(older.end(), std::make_move_iterator(lines_.begin()),
                 std::make_move_iterator(lines_.end()));
    Assign(std::move(older));
}

std::string HistoryLines::Folded(std::string_view line) const {
    std::string folded = text::FoldCase(line);
    return folded == line ? std::string() : folded;
}

std::string_view HistoryLines::SuggestionFor(std::string_view text) const {
    if (text.empty()) return {};
    const std::string folded = text::FoldCase(text);
    for (size_t i = lines_.size(); i-- > 0;) {
        // Most lines differ at their first byte: no call is made for them.
        const std::string& line = FoldedAt(i);
        if (line.size() < folded.size() || line[0] != folded[0] || !line.starts_with(folded)) {
            continue;
        }
        // The typed text's letters may take other bytes in the line.
        size_t end = 0;
        if (text::MatchesAt(lines_[i], 0, text, &end) && end < lines_[i].size()) {
            return std::string_view(lines_[i]).substr(end);
        }
    }
    return {};
}

int HistoryLines::FindOlder(std::string_view text, int before) const {
    const std::string folded = text::FoldCase(text);
    for (int i = std::min(before, static_cast<int>(lines_.size())) - 1; i >= 0; --i) {
        if (FoldedAt(static_cast<size_t>(i)).find(folded) != std::string::npos) return i;
    }
    return -1;
}

std::vector<std::string> HistoryFile::LoadNewest() {
    loading_ = false;
    collecting_ = true;
    readWhole_ = true;
    loadedSize_ = 0;
    const std::vector<FileEntry> found = files_.Find(path_, FileMask::kFiles);
    if (found.size() != 1 || found[0].size <= 0) return {};
    const std::uint64_t size = static_cast<std::uint64_t>(found[0].size);
    const std::uint64_t from = size > kNewestBytes ? size - kNewestBytes : 0;
    std::string bytes, err;
    bool more = false;
    if (!files_.ReadFilePart(path_, from, static_cast<size_t>(size - from), &bytes, &more, &err)) {
        readWhole_ = false;
        return {};
    }
    loadedSize_ = from + bytes.size();
    // A file that does not end in a whole line is mended.
    rewriteDue_ = !bytes.ends_with("\r\n");
    newestAt_ = from;
    if (from > 0) {
        // The chunk begins inside a line: the newest lines begin after its
        // end. A chunk of one line is a line far over the limit.
        const size_t cut = bytes.find_first_of("\r\n");
        if (cut == std::string::npos) {
            rewriteDue_ = true;
            bytes.clear();
            newestAt_ = size;
        } else {
            const size_t next = bytes.compare(cut, 2, "\r\n") == 0 ? cut + 2 : cut + 1;
            bytes.erase(0, next);
            newestAt_ = from + next;
        }
    }
    bool shed = false;
    newest_ = HistoryFileLines(DecodeStoredText(pages_, bytes, LineMix::kPerLine), true, &shed);
    rewriteDue_ = rewriteDue_ || shed;
    olderAt_ = 0;
    loading_ = newestAt_ > 0;
    return newest_;
}

void HistoryFile::LoadOlder(size_t maxBytes) {
    if (!loading_) return;
    std::string bytes, err;
    bool more = false;
    const size_t n = static_cast<size_t>(std::min<std::uint64_t>(maxBytes, newestAt_ - olderAt_));
    if (!files_.ReadFilePart(path_, olderAt_, n, &bytes, &more, &err) || bytes.empty()) {
        // A file that could not be read whole is never written anew from
        // the part that was.
        loading_ = false;
        readWhole_ = false;
        return;
    }
    olderAt_ += bytes.size();
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r') continue;
        if (passingOver_) {
            passingOver_ = false;
        } else {
            partial_.append(bytes, start, i - start);
            TakeOlderLine(partial_);
        }
        partial_.clear();
        start = i + 1;
    }
    if (!passingOver_) partial_.append(bytes, start, std::string::npos);
    // A line already over the limit is passed over to its end, never held.
    if (partial_.size() > kHistoryLineLimit) {
        partial_.clear();
        passingOver_ = true;
        rewriteDue_ = true;
    }
    if (olderAt_ >= newestAt_) {
        loading_ = false;
        partial_.clear();
        passingOver_ = false;
    }
}

void HistoryFile::TakeOlderLine(std::string_view bytes) {
    if (bytes.empty()) return;
    std::string line = DecodeStoredText(pages_, bytes, LineMix::kPerLine);
    if (Writable(line)) {
        older_.push_back(std::move(line));
    } else {
        rewriteDue_ = true;
    }
}

std::vector<std::string> HistoryFile::FinishLoad() {
    if (loading_) return {};
    if (collecting_) {
        collecting_ = false;
        // The lines appended meanwhile, by this console or any other, are
        // what the file has grown by since it was first read; more than
        // lines typed meanwhile could make is left alone.
        std::string grown, err;
        bool more = false;
        const std::vector<FileEntry> found = files_.Find(path_, FileMask::kFiles);
        const std::uint64_t size =
            found.size() == 1 ? static_cast<std::uint64_t>(found[0].size) : 0;
        if (size < loadedSize_ || size - loadedSize_ > kHistoryLines * 64 ||
            (size > loadedSize_ &&
             !files_.ReadFilePart(path_, loadedSize_, size - loadedSize_, &grown, &more, &err))) {
            readWhole_ = false;
        }
        std::vector<std::string> all = older_;
        all.insert(all.end(), newest_.begin(), newest_.end());
        for (std::string& line :
             HistoryFileLines(DecodeStoredText(pages_, grown, LineMix::kPerLine), false)) {
            all.push_back(std::move(line));
        }
        const std::vector<std::string> kept = NewestUnique(all, kHistoryLines);
        lines_ = all.size();
        duplicates_ = all.size() - kept.size();
        const bool due =
            rewriteDue_ || lines_ >= kCompactAtLines || duplicates_ >= kCompactAtDuplicates;
        if (due && readWhole_) Rewrite(kept, &err);
        newest_.clear();
    }
    return std::move(older_);
}

std::vector<std::string> HistoryFile::Load() {
    std::vector<std::string> newest = LoadNewest();
    while (Loading()) LoadOlder(1 << 20);
    std::vector<std::string> all = FinishLoad();
    all.insert(all.end(), newest.begin(), newest.end());
    return NewestUnique(all, kHistoryLines);
}

bool HistoryFile::Append(const std::string& line, bool duplicate, std::string* err) {
    if (!Writable(line)) return true;
    if (torn_ && !Mend(err)) return false;
    const std::string text = (EndsOpen() ? "\r\n" : "") + line + "\r\n";
    if (!files_.AppendFile(path_, text, err)) {
        torn_ = true;
        return false;
    }
    // While the older lines are read the file is counted once they all are.
    if (collecting_) return true;
    ++lines_;
    if (duplicate) ++duplicates_;
    if (lines_ >= kCompactAtLines || duplicates_ >= kCompactAtDuplicates) return Compact(err);
    return true;
}

bool HistoryFile::Compact(std::string* err) {
    std::string contents;
    if (!Read(&contents, err)) return false;
    // While the console runs every line it wrote is whole: a last line
    // without its break was typed by hand and stays.
    return Rewrite(NewestUnique(HistoryFileLines(contents, false), kHistoryLines), err);
}

bool HistoryFile::Mend(std::string* err) {
    std::string contents;
    if (!Read(&contents, err)) return false;
    if (!Rewrite(NewestUnique(HistoryFileLines(contents, true), kHistoryLines), err)) return false;
    torn_ = false;
    return true;
}

bool HistoryFile::EndsOpen() const {
    const std::vector<FileEntry> found = files_.Find(path_, FileMask::kFiles);
    if (found.size() != 1 || found[0].size == 0) return false;
    std::string last, err;
    bool more = false;
    if (!files_.ReadFilePart(path_, static_cast<std::uint64_t>(found[0].size - 1), 1, &last, &more,
                             &err)) {
        return false;
    }
    return !last.empty() && last != "\n" && last != "\r";
}

bool HistoryFile::Read(std::string* contents, std::string* err) const {
    std::string bytes;
    if (!files_.ReadFile(path_, &bytes, err)) return false;
    *contents = DecodeStoredText(pages_, bytes, LineMix::kPerLine);
    return true;
}

bool HistoryFile::Rewrite(const std::vector<std::string>& lines, std::string* err) {
    if (!files_.ReplaceFile(path_, HistoryText(lines), err)) return false;
    lines_ = lines.size();
    duplicates_ = 0;
    rewriteDue_ = false;
    return true;
}

}  // namespace vantrel
