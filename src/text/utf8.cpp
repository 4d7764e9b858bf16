#include "text/utf8.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "text/windows_1252.h"

namespace text::utf8 {

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
    return FromWindows1252(static_cast<char>(c.code));
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

std::u16string ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const Char c = Decode(text, i);
        i += c.bytes;
        const char32_t code = CodeOf(c);
        if (code < 0x10000) {
            out.push_back(static_cast<char16_t>(code));
        } else {
            out.push_back(HighHalf(code));
            out.push_back(LowHalf(code));
        }
    }
    return out;
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

}  // namespace text::utf8
