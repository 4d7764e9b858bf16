// Letter case: the one set of simple (one-to-one) case mappings of every
// script, made from the Unicode tables by scripts/gen_case_table.py, and the
// fold that every case-insensitive comparison of the console and its script
// engine uses.
#pragma once

#include <string>
#include <string_view>

namespace text {

// The case of A-Z alone, for bytes that are ASCII by rule: names, keywords,
// drive letters, hexadecimal digits.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// A code's other case; a code without one is returned as it is.
char32_t Upper(char32_t code);
char32_t Lower(char32_t code);
// The form case-insensitive comparisons use: the lower case of the upper
// case, so that the three sigmas, or K and the Kelvin sign, are one.
inline char32_t Fold(char32_t code) {
    return code < 0x80 ? static_cast<char32_t>(AsciiLower(static_cast<char>(code)))
                       : Lower(Upper(code));
}

// Whole UTF-8 texts; bytes of no character are kept as they are. The number
// of UTF-16 units never changes, so unit positions in a mapped text are
// those of the text (its bytes may differ: the Kelvin sign folds to "k").
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
std::string FoldCase(std::string_view text);

// The text as UTF-16 with every character folded; invalid bytes read as
// their Windows-1252 characters, as utf8::ToUtf16 reads them.
std::u16string FoldedUtf16(std::string_view text);

}  // namespace text
