#include "console/history_file.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "interpreter/text.h"
#include "platform/text_decoding.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel {

namespace {

// The commands whose second argument is a password.
constexpr std::string_view kSecretWords[] = {"listen", "connect", "orid"};

size_t SkipSpaces(std::string_view s, size_t at) {
    while (at < s.size() && s[at] == ' ') ++at;
    return at;
}

// The end of the token at `at` (not a space), as the interpreter takes its
// arguments: a quoted one runs to the next quote or the end, any other to
// the next space.
size_t TokenEnd(std::string_view s, size_t at) {
    const size_t end = s.find(s[at] == '"' ? '"' : ' ', at + 1);
    if (end == std::string_view::npos) return s.size();
    return s[at] == '"' ? end + 1 : end;
}

bool IsSecretWord(std::string_view token) {
    if (!token.empty() && token.front() == '"') {
        token.remove_prefix(1);
        if (!token.empty() && token.back() == '"') token.remove_suffix(1);
    }
    const std::string word = text::LowerCase(token);
    return std::find(std::begin(kSecretWords), std::end(kSecretWords), word) !=
           std::end(kSecretWords);
}

// Where the password of the command starts, or npos when it has none.
size_t PasswordStart(std::string_view command) {
    const size_t word = SkipSpaces(command, 0);
    if (word == command.size()) return std::string_view::npos;
    const size_t wordEnd = TokenEnd(command, word);
    if (!IsSecretWord(command.substr(word, wordEnd - word))) return std::string_view::npos;
    const size_t first = SkipSpaces(command, wordEnd);
    if (first == command.size()) return std::string_view::npos;
    const size_t rest = SkipSpaces(command, TokenEnd(command, first));
    return rest == command.size() ? std::string_view::npos : rest;
}

// The case of A-Z as a table: the suggestion and the search compare every
// byte of up to 10,000 lines at each keystroke, and a call per byte doubles
// their time. Bytes of other characters are UTF-8 and compare as they are:
// folding one would make it another character's.
const std::array<char, 256>& LowerTable() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int c = 0; c < 256; ++c) t[c] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        return t;
    }();
    return table;
}

char Lower(char c) {
    return LowerTable()[static_cast<unsigned char>(c)];
}

// Whether text begins with, or holds, lowerFind (already in lower case).
bool BeginsWithLower(std::string_view text, std::string_view lowerFind) {
    if (text.size() < lowerFind.size()) return false;
    for (size_t i = 0; i < lowerFind.size(); ++i) {
        if (Lower(text[i]) != lowerFind[i]) return false;
    }
    return true;
}

bool HoldsLower(std::string_view text, std::string_view lowerFind) {
    if (lowerFind.empty()) return true;
    for (size_t i = 0; i + lowerFind.size() <= text.size(); ++i) {
        if (Lower(text[i]) == lowerFind[0] && BeginsWithLower(text.substr(i), lowerFind)) {
            return true;
        }
    }
    return false;
}

std::string HistoryText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace

bool KeptPrivate(std::string_view line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

std::string MaskSecrets(std::string_view line, std::string_view separator) {
    // The interpreter takes a leading "@" or "&" off the whole line first.
    size_t start = !line.empty() && (line[0] == '@' || line[0] == '&') ? 1 : 0;
    for (;;) {
        size_t end =
            separator.empty() ? std::string_view::npos : text::FindNoCase(line, separator, start);
        if (end == std::string_view::npos) end = line.size();
        const size_t password = PasswordStart(line.substr(start, end - start));
        if (password != std::string_view::npos) {
            return std::string(line.substr(0, start + password)) + kSecretMask;
        }
        if (end == line.size()) return std::string(line);
        start = end + separator.size();
    }
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

std::vector<std::string> HistoryFileLines(std::string_view contents, bool dropTorn) {
    const bool torn = !contents.empty() && contents.back() != '\n' && contents.back() != '\r';
    std::vector<std::string> lines = SplitLines(contents);
    if (torn && dropTorn) lines.pop_back();
    std::erase_if(lines, [](const std::string& line) {
        return line.empty() || line.size() > kHistoryLineLimit;
    });
    return lines;
}

void HistoryLines::Assign(std::vector<std::string> lines) {
    lines_ = NewestUnique(lines, kHistoryLines);
}

bool HistoryLines::Add(const std::string& line) {
    auto old = std::find(lines_.rbegin(), lines_.rend(), line);
    const bool duplicate = old != lines_.rend();
    if (duplicate) lines_.erase(std::next(old).base());
    lines_.push_back(line);
    if (lines_.size() > kHistoryLines) lines_.erase(lines_.begin());
    return duplicate;
}

std::string_view HistoryLines::SuggestionFor(std::string_view text) const {
    if (text.empty()) return {};
    const std::string lower = text::LowerCase(text);
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) {
        if (it->size() > text.size() && BeginsWithLower(*it, lower)) {
            return std::string_view(*it).substr(text.size());
        }
    }
    return {};
}

int HistoryLines::FindOlder(std::string_view text, int before) const {
    const std::string lower = text::LowerCase(text);
    for (int i = std::min(before, static_cast<int>(lines_.size())) - 1; i >= 0; --i) {
        if (HoldsLower(lines_[i], lower)) return i;
    }
    return -1;
}

std::vector<std::string> HistoryFile::Load() {
    std::string contents, err;
    if (!Read(&contents, &err)) return {};
    const std::vector<std::string> all = HistoryFileLines(contents, true);
    std::vector<std::string> lines = NewestUnique(all, kHistoryLines);
    lines_ = all.size();
    duplicates_ = all.size() - lines.size();
    const bool mend = !contents.empty() && !contents.ends_with("\r\n");
    if (mend || lines_ >= kCompactAtLines || duplicates_ >= kCompactAtDuplicates) {
        Rewrite(lines, &err);
    }
    return lines;
}

bool HistoryFile::Append(const std::string& line, bool duplicate, std::string* err) {
    if (line.empty() || line.size() > kHistoryLineLimit) return true;
    if (torn_ && !Mend(err)) return false;
    const std::string text = (EndsOpen() ? "\r\n" : "") + line + "\r\n";
    if (!files_.AppendFile(path_, text, err)) {
        torn_ = true;
        return false;
    }
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
    return true;
}

}  // namespace vantrel
