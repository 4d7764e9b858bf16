#include "text/compare.h"

#include <algorithm>
#include <string>

#include "text/case_fold.h"
#include "text/utf8.h"

namespace text {

bool MatchesAt(std::string_view text, size_t at, std::string_view find, size_t* end) {
    size_t i = at, k = 0;
    while (k < find.size()) {
        if (i >= text.size()) return false;
        const utf8::Char a = utf8::Decode(text, i);
        const utf8::Char b = utf8::Decode(find, k);
        // Bytes that make no character match only themselves.
        const bool same = a.valid && b.valid ? Fold(a.code) == Fold(b.code)
                                             : a.bytes == b.bytes && text.substr(i, a.bytes) ==
                                                                         find.substr(k, b.bytes);
        if (!same) return false;
        i += a.bytes;
        k += b.bytes;
    }
    *end = i;
    return true;
}

size_t FindNoCase(std::string_view text, std::string_view find, size_t from) {
    if (find.empty()) return from <= text.size() ? from : std::string_view::npos;
    // An ASCII byte of the text can only start a match when it folds to what
    // the first character of find folds to: every other one is passed over
    // without decoding. (Three letters beyond ASCII fold into it, the Kelvin
    // sign among them, so no ASCII shortcut may skip the others.)
    const utf8::Char first = utf8::Decode(find, 0);
    const char32_t firstFold = first.valid ? Fold(first.code) : 0x110000;
    size_t end;
    for (size_t i = from; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if (static_cast<char32_t>(AsciiLower(static_cast<char>(b))) == firstFold &&
                MatchesAt(text, i, find, &end)) {
                return i;
            }
            ++i;
            continue;
        }
        if (MatchesAt(text, i, find, &end)) return i;
        i += utf8::Decode(text, i).bytes;
    }
    return std::string_view::npos;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    size_t end;
    return MatchesAt(a, 0, b, &end) && end == a.size();
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    size_t end;
    return MatchesAt(text, 0, prefix, &end);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    // Suffixes are extensions and the like, whose letters fold within their
    // own length.
    return text.size() >= suffix.size() &&
           EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view with,
                       bool noCase) {
    if (find.empty()) return std::string(text);
    std::string out;
    size_t start = 0;
    for (;;) {
        size_t at = noCase ? FindNoCase(text, find, start) : text.find(find, start);
        if (at == std::string_view::npos) break;
        out.append(text.substr(start, at - start));
        out.append(with);
        size_t end = at + find.size();
        if (noCase) MatchesAt(text, at, find, &end);
        start = end;
    }
    out.append(text.substr(start));
    return out;
}

namespace {

bool IsAsciiByte(std::string_view s, size_t i) {
    return static_cast<unsigned char>(s[i]) < 0x80;
}

int Sign(int x) {
    return (x > 0) - (x < 0);
}

}  // namespace

int Compare(std::string_view a, std::string_view b, bool fold) {
    // Up to the first difference, or the first non-ASCII byte when folding,
    // the bytes decide; past it the units do.
    size_t i = 0;
    const size_t n = std::min(a.size(), b.size());
    if (fold) {
        while (i < n && IsAsciiByte(a, i) && IsAsciiByte(b, i) &&
               AsciiLower(a[i]) == AsciiLower(b[i])) {
            ++i;
        }
    } else {
        while (i < n && a[i] == b[i]) ++i;
    }
    const bool aAscii = i == a.size() || IsAsciiByte(a, i);
    const bool bAscii = i == b.size() || IsAsciiByte(b, i);
    if (aAscii && bAscii) {
        if (i == a.size()) return i == b.size() ? 0 : -1;
        if (i == b.size()) return 1;
        const char x = fold ? AsciiLower(a[i]) : a[i];
        const char y = fold ? AsciiLower(b[i]) : b[i];
        return x < y ? -1 : 1;
    }
    // When folding, every byte before i was ASCII: i starts a character in both.
    const size_t start = fold ? i : 0;
    const auto units = [fold](std::string_view s) {
        return fold ? FoldedUtf16(s) : utf8::ToUtf16(s);
    };
    return Sign(units(a.substr(start)).compare(units(b.substr(start))));
}

size_t FindAscii(std::string_view hay, std::string_view needle, size_t from, bool fold) {
    if (!fold) return hay.find(needle, from);
    if (needle.size() > hay.size()) return std::string_view::npos;
    for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && AsciiLower(hay[i + k]) == AsciiLower(needle[k])) ++k;
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

size_t FindLastAscii(std::string_view hay, std::string_view needle, size_t end, bool fold) {
    if (needle.size() > end || end > hay.size()) return std::string_view::npos;
    for (size_t i = end - needle.size() + 1; i-- > 0;) {
        size_t k = 0;
        while (k < needle.size() &&
               (fold ? AsciiLower(hay[i + k]) == AsciiLower(needle[k]) : hay[i + k] == needle[k])) {
            ++k;
        }
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

size_t FindUnits(std::string_view hay, std::string_view needle, size_t from, bool fold) {
    if (!fold && utf8::IsValid(needle)) {
        // Whole characters found byte for byte: only the prefix and the
        // stretch searched are walked, not the whole text.
        const utf8::Place start = utf8::Seek(hay, from);
        const size_t byte = start.inPair ? start.byte + 4 : start.byte;
        const size_t at = hay.find(needle, byte);
        if (at == std::string_view::npos) return at;
        return from + (start.inPair ? 1 : 0) + utf8::CountUnits(hay.substr(byte, at - byte));
    }
    if (fold) return FoldedUtf16(hay).find(FoldedUtf16(needle), from);
    return utf8::ToUtf16(hay).find(utf8::ToUtf16(needle), from);
}

size_t FindLastUnits(std::string_view hay, std::string_view needle, size_t end, bool fold) {
    const std::u16string h = fold ? FoldedUtf16(hay) : utf8::ToUtf16(hay);
    const std::u16string n = fold ? FoldedUtf16(needle) : utf8::ToUtf16(needle);
    if (n.size() > end || end > h.size()) return std::string_view::npos;
    return std::u16string_view(h).substr(0, end).rfind(n);
}

}  // namespace text
