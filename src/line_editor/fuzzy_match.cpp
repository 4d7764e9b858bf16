#include "line_editor/fuzzy_match.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/case_fold.h"
#include "text/char_class.h"
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
// A letter off in three is another word: "cmd" is not "cms".
constexpr size_t kShortestMisspelt = 4;

enum class Kind { kSeparator, kLower, kUpper, kDigit, kOther };

Kind KindOf(char32_t c) {
    if (c < 0x80) {
        if (text::IsAsciiDigit(c)) return Kind::kDigit;
        if (text::IsAsciiLower(c)) return Kind::kLower;
        if (text::IsAsciiUpper(c)) return Kind::kUpper;
        return Kind::kSeparator;
    }
    if (text::Lower(c) != c) return Kind::kUpper;
    if (text::Upper(c) != c) return Kind::kLower;
    return Kind::kOther;
}

// A text's characters, the same folded, and where its words begin and end:
// a word begins after a blank or a mark, at a capital after a small letter
// ("VSCode" is "VS" "Code"), and where letters and digits meet
// ("Office365"). The buffers are kept from one name to the next: a Tab
// reads thousands.
struct Letters {
    std::u32string codes, folded;
    std::vector<size_t> wordStarts, wordEnds;

    void Read(std::string_view text) {
        codes.clear();
        folded.clear();
        for (size_t at = 0; at < text.size();) {
            const unsigned char byte = static_cast<unsigned char>(text[at]);
            if (byte < 0x80) {
                codes.push_back(byte);
                folded.push_back(static_cast<unsigned char>(text::AsciiLower(text[at])));
                ++at;
                continue;
            }
            const text::utf8::Char c = text::utf8::Decode(text, at);
            codes.push_back(text::utf8::CodeOf(c));
            folded.push_back(text::Fold(codes.back()));
            at += c.bytes;
        }
    }

    void FindWords() {
        wordStarts.clear();
        wordEnds.clear();
        Kind before = Kind::kSeparator;
        Kind kind = codes.empty() ? Kind::kSeparator : KindOf(codes[0]);
        for (size_t i = 0; i < codes.size(); ++i) {
            const Kind after = i + 1 < codes.size() ? KindOf(codes[i + 1]) : Kind::kSeparator;
            const bool open = wordEnds.size() < wordStarts.size();
            const bool starts =
                kind != Kind::kSeparator &&
                (before == Kind::kSeparator || (before == Kind::kLower && kind == Kind::kUpper) ||
                 ((before == Kind::kDigit) != (kind == Kind::kDigit)) ||
                 (before == Kind::kUpper && kind == Kind::kUpper && after == Kind::kLower));
            if ((starts || kind == Kind::kSeparator) && open) wordEnds.push_back(i);
            if (starts) wordStarts.push_back(i);
            before = kind;
            kind = after;
        }
        if (wordEnds.size() < wordStarts.size()) wordEnds.push_back(codes.size());
    }
};

}  // namespace

std::string_view NameStem(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot - 1 > 4 ||
        dot + 1 == name.size()) {
        return name;
    }
    for (size_t i = dot + 1; i < name.size(); ++i) {
        if (!text::IsAsciiLetterOrDigit(name[i])) return name;
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

// Letters to add, drop, change or swap to make a into b (b at most
// kLongestTyped long), when at most limit; above it, limit + 1.
int Edits(std::u32string_view a, std::u32string_view b, int limit) {
    const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
    if (std::abs(n - m) > limit) return limit + 1;
    std::array<int, kLongestTyped + 1> rows[3];
    int* twoBack = rows[0].data();
    int* back = rows[1].data();
    int* row = rows[2].data();
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
    // One Tab matches the same letters against thousands of names: the
    // buffers and the typed letters are kept from one call to the next.
    thread_local Letters letters, wanted;
    thread_local std::string lastTyped;
    if (typed != lastTyped) {
        lastTyped = typed;
        wanted.Read(typed);
    }
    letters.Read(NameStem(name));
    if (letters.folded.empty()) return std::nullopt;

    const int passedOver = LettersPassedOver(letters.folded, wanted.folded);
    if (passedOver == kNone && wanted.folded.size() < kShortestMisspelt) return std::nullopt;
    letters.FindWords();
    if (passedOver < kNone) {
        // Word beginnings spell only what the letters in order already do.
        WordSpeller speller(letters, wanted.folded);
        const int fromFirst = speller.From(0);
        if (fromFirst < kNone) return NameMatch{MatchQuality::kWordStarts, fromFirst};
        int inner = kNone;
        for (size_t w = 1; w < speller.Words(); ++w) inner = std::min(inner, speller.From(w));
        if (inner < kNone) return NameMatch{MatchQuality::kInnerWord, inner};
        return NameMatch{MatchQuality::kLettersInOrder, passedOver};
    }
    return NearSpelling(letters, wanted.folded);
}

}  // namespace vantrel
