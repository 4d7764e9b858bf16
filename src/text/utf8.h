// UTF-8, the console's text, read and written a character at a time, and
// its UTF-16 units, which the system's wide calls and the script engine
// count in: a character beyond the Basic Multilingual Plane is two units. A
// byte that starts no valid sequence reads as a character of its own (one
// unit), so that any bytes have a length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace text::utf8 {

struct Char {
    char32_t code;  // for an invalid byte, the byte itself
    uint8_t bytes;  // 1 to 4
    bool valid;
};

// The character at text[at]; at < text.size().
Char Decode(std::string_view text, size_t at);

// Appends the code point; a lone surrogate (a half of a split pair) is
// written as its own three bytes, as the system's wide text would hold it.
void Append(std::string* out, char32_t code);

// Appends text; when out ends with the first half of a pair and text starts
// with the second, the two become the pair's one character, so that joined
// halves read, compare and search as the character they make.
void JoinHalves(std::string* out, std::string_view text);
inline void AppendText(std::string* out, std::string_view text) {
    // A second half starts with 0xED: anything else appends as it is.
    if (text.size() < 3 || static_cast<unsigned char>(text[0]) != 0xED) {
        out->append(text);
    } else {
        JoinHalves(out, text);
    }
}

// Whether the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValid(std::string_view text);

// Whether the byte continues a character begun before it (10xxxxxx).
inline bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Whether every byte is below 0x80.
bool IsAscii(std::string_view text);

// The character's code as text of the legacy code page would mean it: an
// invalid byte is read as its Windows-1252 character, so that it has a case
// and a code.
char32_t CodeOf(const Char& c);
// UTF-16 units of a code: 2 beyond the Basic Multilingual Plane, else 1.
inline size_t UnitsOf(char32_t code) {
    return code >= 0x10000 ? 2 : 1;
}

// The text's length in UTF-16 units.
size_t CountUnits(std::string_view text);

// A place in the text counted in units: the byte where a character starts,
// and whether the place is between the two halves of that character's pair.
struct Place {
    size_t byte;
    bool inPair;
};
// The place units further on from a character start (from); past the end
// is {text.size(), false}.
Place Seek(std::string_view text, size_t units, size_t from = 0);
// The place units further on from another place.
Place Advance(std::string_view text, Place at, size_t units);
// The text between two places (from <= to); a pair cut by either place
// gives its half as a lone surrogate.
std::string SliceCut(std::string_view text, Place from, Place to);
inline std::string Slice(std::string_view text, Place from, Place to) {
    // Inline for the common case, no pair cut: Split makes a slice per item.
    if (from.inPair || to.inPair) return SliceCut(text, from, to);
    return std::string(text.substr(from.byte, to.byte > from.byte ? to.byte - from.byte : 0));
}
// AppendText of that slice, without a copy when no pair is cut.
void AppendSlice(std::string* out, std::string_view text, Place from, Place to);
// The units from unit `first` (0-based), at most count of them.
std::string SliceUnits(std::string_view text, size_t first, size_t count);

// The text as UTF-16, invalid bytes as their Windows-1252 characters.
std::u16string ToUtf16(std::string_view text);
// UTF-16 as UTF-8; a lone surrogate keeps its three bytes.
std::string FromUtf16(std::u16string_view units);
// A high half's and a low half's units for a code beyond the plane.
inline char16_t HighHalf(char32_t code) {
    return static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
}
inline char16_t LowHalf(char32_t code) {
    return static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
}

}  // namespace text::utf8
