#include "line_editor/fuzzy_match.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/case_fold.h"
#include "text/compare.h"
#include "text/utf8.h"

namespace vantrel {

namespace {

// Past these only the plain beginning is looked at: the word matching below
// grows with the product of the two lengths, and no program is named by 64
// typed letters.
constexpr size_t kLongestTyped = 64;
constexpr size_t kLongestName = 260;
constexpr int kNone = 1 << 20;

enum class Kind { kSeparator, kLower, kUpper, kDigit, kOther };

Kind KindOf(char32_t c) {
    if (c >= '0' && c <= '9') return Kind::kDigit;
    if (c < 0x80 && !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return Kind::kSeparator;
    if (text::Lower(c) != c) return Kind::kUpper;
    if (text::Upper(c) != c) return Kind::kLower;
    return Kind::kOther;
}

// A text as folded characters, and where its words begin: after a blank or
// a mark, at a capital after a small letter ("VSCode" is "VS" "Code"), and
// where letters and digits meet ("Office365").
struct Letters {
    std::u32string folded;
    std::vector<size_t> wordStarts;
    std::vector<size_t> wordEnds;
};

Letters Read(std::string_view text) {
    std::vector<char32_t> codes;
    for (size_t at = 0; at < text.size();) {
        const text::utf8::Char c = text::utf8::Decode(text, at);
        codes.push_back(text::utf8::CodeOf(c));
        at += c.bytes;
    }
    Letters letters;
    Kind before = Kind::kSeparator;
    for (size_t i = 0; i < codes.size(); ++i) {
        const Kind kind = KindOf(codes[i]);
        const Kind after = i + 1 < codes.size() ? KindOf(codes[i + 1]) : Kind::kSeparator;
        const bool starts =
            kind != Kind::kSeparator &&
            (before == Kind::kSeparator || (before == Kind::kLower && kind == Kind::kUpper) ||
             ((before == Kind::kDigit) != (kind == Kind::kDigit)) ||
             (before == Kind::kUpper && kind == Kind::kUpper && after == Kind::kLower));
        if (starts) {
            if (!letters.wordStarts.empty() && letters.wordEnds.size() < letters.wordStarts.size())
                letters.wordEnds.push_back(i);
            letters.wordStarts.push_back(i);
        } else if (kind == Kind::kSeparator &&
                   letters.wordEnds.size() < letters.wordStarts.size()) {
            letters.wordEnds.push_back(i);
        }
        letters.folded.push_back(text::Fold(codes[i]));
        before = kind;
    }
    if (letters.wordEnds.size() < letters.wordStarts.size())
        letters.wordEnds.push_back(codes.size());
    return letters;
}

bool IsLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string_view NameStem(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot - 1 > 4 ||
        dot + 1 == name.size()) {
        return name;
    }
    for (size_t i = dot + 1; i < name.size(); ++i) {
        if (!IsLetterOrDigit(name[i])) return name;
    }
    return name.substr(0, dot);
}

namespace {

// The fewest words skipped to spell typed from `from` with beginnings of
// the name's words from word `word` on, each piece at least one letter;
// kNone when it cannot be spelt so. memo holds the answers found.
class WordSpeller {
  public:
    WordSpeller(const Letters& name, const std::u32string& typed)
        : name_(name),
          typed_(typed),
          words_(name.wordStarts.size()),
          memo_((typed.size() + 1) * (words_ + 1), -1) {}

    // The fewest skips when the first piece is at word `first`.
    int From(size_t first) { return Piece(0, first, true); }
    size_t Words() const { return words_; }

  private:
    // Pieces from typed[at] on, the next one at word w or later; `fixed`
    // keeps the piece at w exactly.
    int Piece(size_t at, size_t w, bool fixed) {
        if (at == typed_.size()) return 0;
        if (w >= words_) return kNone;
        int& known = memo_[at * (words_ + 1) + w];
        if (!fixed && known >= 0) return known;
        int best = kNone;
        const size_t last = fixed ? w : words_ - 1;
        for (size_t v = w; v <= last; ++v) {
            const size_t start = name_.wordStarts[v], end = name_.wordEnds[v];
            for (size_t k = 0; start + k < end && at + k < typed_.size() &&
                               name_.folded[start + k] == typed_[at + k];
                 ++k) {
                const int rest = Piece(at + k + 1, v + 1, false);
                if (rest < kNone) best = std::min(best, static_cast<int>(v - w) + rest);
            }
        }
        if (!fixed) known = best;
        return best;
    }

    const Letters& name_;
    const std::u32string& typed_;
    size_t words_;
    std::vector<int> memo_;
};

// The fewest letters passed over between the first and the last typed
// letter found in order in name; kNone when they are not all there.
int LettersPassedOver(const std::u32string& name, const std::u32string& typed) {
    int best = kNone;
    for (size_t start = 0; start < name.size(); ++start) {
        if (name[start] != typed[0]) continue;
        size_t k = 1, at = start + 1;
        for (; at < name.size() && k < typed.size(); ++at) {
            if (name[at] == typed[k]) ++k;
        }
        if (k < typed.size()) break;  // later starts find no more
        best = std::min(best, static_cast<int>(at - start - typed.size()));
    }
    return best;
}

// Letters to add, drop, change or swap to make a into b, when at most
// limit; above it, limit + 1.
int Edits(std::u32string_view a, std::u32string_view b, int limit) {
    const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
    if (std::abs(n - m) > limit) return limit + 1;
    std::vector<int> twoBack(m + 1), back(m + 1), row(m + 1);
    for (int j = 0; j <= m; ++j) back[j] = j;
    for (int i = 1; i <= n; ++i) {
        row[0] = i;
        int smallest = row[0];
        for (int j = 1; j <= m; ++j) {
            const int change = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({back[j] + 1, row[j - 1] + 1, back[j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                row[j] = std::min(row[j], twoBack[j - 2] + 1);
            }
            smallest = std::min(smallest, row[j]);
        }
        if (smallest > limit) return limit + 1;
        std::swap(twoBack, back);
        std::swap(back, row);
    }
    return std::min(back[m], limit + 1);
}

std::optional<NameMatch> NearSpelling(const Letters& name, const std::u32string& typed) {
    // A letter off in three is another word: "cmd" is not "cms".
    if (typed.size() < 4) return std::nullopt;
    const int limit = typed.size() >= 8 ? 2 : 1;
    int best = Edits(name.folded, typed, limit);
    for (size_t w = 0; w < name.wordStarts.size(); ++w) {
        const std::u32string_view word =
            std::u32string_view(name.folded)
                .substr(name.wordStarts[w], name.wordEnds[w] - name.wordStarts[w]);
        best = std::min(best, Edits(word, typed, limit));
    }
    if (best > limit) return std::nullopt;
    return NameMatch{MatchQuality::kNearSpelling, best};
}

}  // namespace

std::optional<NameMatch> MatchName(std::string_view name, std::string_view typed) {
    if (typed.empty()) return std::nullopt;
    if (text::StartsWithNoCase(name, typed)) return NameMatch{MatchQuality::kPrefix, 0};
    if (typed.size() > kLongestTyped || name.size() > kLongestName) return std::nullopt;
    const Letters letters = Read(NameStem(name));
    const std::u32string wanted = Read(typed).folded;
    if (letters.folded.empty() || wanted.empty()) return std::nullopt;

    const int passedOver = LettersPassedOver(letters.folded, wanted);
    if (passedOver < kNone) {
        // Word beginnings spell only what the letters in order already do.
        WordSpeller speller(letters, wanted);
        const int fromFirst = speller.From(0);
        if (fromFirst < kNone) return NameMatch{MatchQuality::kWordStarts, fromFirst};
        int inner = kNone;
        for (size_t w = 1; w < speller.Words(); ++w) inner = std::min(inner, speller.From(w));
        if (inner < kNone) return NameMatch{MatchQuality::kInnerWord, inner};
        return NameMatch{MatchQuality::kLettersInOrder, passedOver};
    }
    return NearSpelling(letters, wanted);
}

}  // namespace vantrel
