#include "script/utf8.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "script/convert.h"

namespace script::utf8 {

Char Decode(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return {lead, 1, true};
    const Char invalid{lead, 1, false};
    size_t length;
    char32_t code;
    char32_t least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return invalid;
    }
    if (text.size() - at < length) return invalid;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char c = byte(at + i);
        if ((c & 0xC0) != 0x80) return invalid;
        code = (code << 6) | (c & 0x3F);
    }
    if (code < least || code > 0x10FFFF) return invalid;
    // A surrogate's three bytes are what Append writes for half a pair: read
    // them back as that half, but they are not valid UTF-8.
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return {code, static_cast<uint8_t>(length), !surrogate};
}

void Append(std::string* out, char32_t code) {
    if (code < 0x80) {
        out->push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (code >> 6)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (code >> 12)));
        out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (code >> 18)));
        out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

void JoinHalves(std::string* out, std::string_view text) {
    // A half is ED A0..AF xx (first) or ED B0..BF xx (second).
    const auto half = [](std::string_view t, size_t at, unsigned char low, unsigned char high) {
        const unsigned char b = static_cast<unsigned char>(t[at + 1]);
        return static_cast<unsigned char>(t[at]) == 0xED && b >= low && b <= high &&
               (static_cast<unsigned char>(t[at + 2]) & 0xC0) == 0x80;
    };
    const size_t n = out->size();
    if (text.size() < 3 || n < 3 || !half(text, 0, 0xB0, 0xBF) || !half(*out, n - 3, 0xA0, 0xAF)) {
        out->append(text);
        return;
    }
    const char32_t high = Decode(*out, n - 3).code;
    const char32_t low = Decode(text, 0).code;
    out->resize(n - 3);
    Append(out, 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
    out->append(text.substr(3));
}

bool IsAscii(std::string_view text) {
    const char* p = text.data();
    size_t n = text.size();
    // Eight bytes at a time: long scripts' texts are mostly ASCII.
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull) return false;
    }
    for (; n > 0; ++p, --n) {
        if (static_cast<unsigned char>(*p) >= 0x80) return false;
    }
    return true;
}

bool IsValid(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const Char c = Decode(text, i);
        if (!c.valid) return false;
        i += c.bytes;
    }
    return true;
}

char32_t CodeOf(const Char& c) {
    if (c.valid || c.bytes > 1) return c.code;
    return ToUnicode(static_cast<char>(c.code));
}

size_t CountUnits(std::string_view text) {
    size_t units = 0;
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i, ++units;
            continue;
        }
        const Char c = Decode(text, i);
        i += c.bytes;
        units += UnitsOf(c.code);
    }
    return units;
}

Place Seek(std::string_view text, size_t units, size_t from) {
    size_t i = from;
    while (units > 0 && i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i, --units;
            continue;
        }
        const Char c = Decode(text, i);
        const size_t n = UnitsOf(c.code);
        if (n > units) return {i, true};
        i += c.bytes;
        units -= n;
    }
    return {std::min(i, text.size()), false};
}

namespace {

char16_t HighHalf(char32_t code) {
    return static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
}
char16_t LowHalf(char32_t code) {
    return static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
}

}  // namespace

std::string SliceCut(std::string_view text, Place from, Place to) {
    std::string out;
    if (from.byte == to.byte && from.inPair == to.inPair) return out;
    size_t begin = from.byte;
    if (from.inPair) {
        const Char c = Decode(text, begin);
        Append(&out, LowHalf(c.code));
        begin += c.bytes;
    }
    if (to.byte > begin) out.append(text.substr(begin, to.byte - begin));
    if (to.inPair && to.byte >= begin) Append(&out, HighHalf(Decode(text, to.byte).code));
    return out;
}

Place Advance(std::string_view text, Place at, size_t units) {
    // From inside a pair, the pair's first half is already behind.
    if (at.inPair) return units == 0 ? at : Seek(text, units + 1, at.byte);
    return Seek(text, units, at.byte);
}

void AppendSlice(std::string* out, std::string_view text, Place from, Place to) {
    if (from.inPair || to.inPair) {
        AppendText(out, Slice(text, from, to));
    } else if (to.byte > from.byte) {
        AppendText(out, text.substr(from.byte, to.byte - from.byte));
    }
}

std::string SliceUnits(std::string_view text, size_t first, size_t count) {
    const Place from = Seek(text, first);
    const Place to =
        count == std::string::npos ? Place{text.size(), false} : Advance(text, from, count);
    return Slice(text, from, to);
}

namespace {

// Appends a character's units, folded first when asked.
void PutUnits(std::u16string* out, char32_t code) {
    if (code < 0x10000) {
        out->push_back(static_cast<char16_t>(code));
    } else {
        out->push_back(HighHalf(code));
        out->push_back(LowHalf(code));
    }
}

std::u16string Units(std::string_view text, bool fold) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const Char c = Decode(text, i);
        i += c.bytes;
        const char32_t code = CodeOf(c);
        PutUnits(&out, fold ? Fold(code) : code);
    }
    return out;
}

}  // namespace

std::u16string ToUtf16(std::string_view text, bool fold) {
    return Units(text, fold);
}

std::string FromUtf16(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            Append(&out, 0x10000 + ((char32_t{u} - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            Append(&out, u);
        }
    }
    return out;
}

namespace {

struct CaseRun {
    char32_t first, last;
    int32_t delta;
    uint8_t stride;
};

#include "script/case_table.inc"

template <size_t N>
char32_t MapCase(const CaseRun (&table)[N], char32_t code) {
    // The last run that starts at or before code.
    const CaseRun* end = table + N;
    const CaseRun* run = std::upper_bound(table, end, code,
                                          [](char32_t c, const CaseRun& r) { return c < r.first; });
    if (run == table) return code;
    --run;
    if (code > run->last || (code - run->first) % run->stride != 0) return code;
    return static_cast<char32_t>(static_cast<int32_t>(code) + run->delta);
}

template <typename Map>
std::string MapText(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(map(b)));
            ++i;
            continue;
        }
        const Char c = Decode(text, i);
        if (c.valid) {
            Append(&out, map(c.code));
        } else {
            out.append(text.substr(i, c.bytes));
        }
        i += c.bytes;
    }
    return out;
}

}  // namespace

char32_t Upper(char32_t code) {
    if (code < 0x80) return code >= 'a' && code <= 'z' ? code - 32 : code;
    return MapCase(kToUpper, code);
}

char32_t Lower(char32_t code) {
    if (code < 0x80) return code >= 'A' && code <= 'Z' ? code + 32 : code;
    return MapCase(kToLower, code);
}

std::string ToUpper(std::string_view text) {
    return MapText(text, Upper);
}
std::string ToLower(std::string_view text) {
    return MapText(text, Lower);
}
std::string FoldCase(std::string_view text) {
    return MapText(text, Fold);
}

namespace {

char AsciiFold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
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
               AsciiFold(a[i]) == AsciiFold(b[i])) {
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
        const char x = fold ? AsciiFold(a[i]) : a[i];
        const char y = fold ? AsciiFold(b[i]) : b[i];
        return x < y ? -1 : 1;
    }
    // When folding, every byte before i was ASCII: i starts a character in both.
    const size_t start = fold ? i : 0;
    const std::u16string x = Units(a.substr(start), fold);
    const std::u16string y = Units(b.substr(start), fold);
    return Sign(x.compare(y));
}

size_t FindBytes(std::string_view hay, std::string_view needle, size_t from, bool fold) {
    {
        if (!fold) return hay.find(needle, from);
        if (needle.size() > hay.size()) return std::string_view::npos;
        for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
            size_t k = 0;
            while (k < needle.size() && AsciiFold(hay[i + k]) == AsciiFold(needle[k])) ++k;
            if (k == needle.size()) return i;
        }
        return std::string_view::npos;
    }
}

size_t FindUnits(std::string_view hay, std::string_view needle, size_t from, bool fold) {
    if (!fold && IsValid(needle)) {
        // Whole characters found byte for byte (see FindBytes): only the
        // prefix and the stretch searched are walked, not the whole text.
        const Place start = Seek(hay, from);
        const size_t byte = start.inPair ? start.byte + 4 : start.byte;
        const size_t at = hay.find(needle, byte);
        if (at == std::string_view::npos) return at;
        return from + (start.inPair ? 1 : 0) + CountUnits(hay.substr(byte, at - byte));
    }
    return Units(hay, fold).find(Units(needle, fold), from);
}

size_t FindLastBytes(std::string_view hay, std::string_view needle, size_t end, bool fold) {
    {
        if (needle.size() > end || end > hay.size()) return std::string_view::npos;
        for (size_t i = end - needle.size() + 1; i-- > 0;) {
            size_t k = 0;
            while (k < needle.size() && (fold ? AsciiFold(hay[i + k]) == AsciiFold(needle[k])
                                              : hay[i + k] == needle[k])) {
                ++k;
            }
            if (k == needle.size()) return i;
        }
        return std::string_view::npos;
    }
}

size_t FindLastUnits(std::string_view hay, std::string_view needle, size_t end, bool fold) {
    const std::u16string h = Units(hay, fold), n = Units(needle, fold);
    if (n.size() > end || end > h.size()) return std::string_view::npos;
    return std::u16string_view(h).substr(0, end).rfind(n);
}

}  // namespace script::utf8
