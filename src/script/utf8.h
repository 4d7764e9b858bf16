// UTF-8, the engine's text, read and written a character at a time. Scripts
// count in UTF-16 units, as VBScript does: a character beyond the Basic
// Multilingual Plane is two. A byte that starts no valid sequence reads as a
// character of its own (one unit), so that any bytes have a length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace script::utf8 {

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

// Whether the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValid(std::string_view text);

// Whether every byte is below 0x80.
bool IsAscii(std::string_view text);

}  // namespace script::utf8
