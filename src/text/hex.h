// Hexadecimal and octal digits, read and written in one place: settings
// (FocusKey), escapes (%XX, \xXX, \uXXXX), colour texts, addresses, and the
// script's &H and &O numbers, as a literal and as a number's text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace text {

// The digits for writing: kHexDigits[v] for v from 0 to 15.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of a hexadecimal digit, 0 to 15; -1 when c is not one.
int HexDigitValue(char32_t c);

// The digits of radix (16 or 8) at the start of text, as many as there are
// while their value stays within 32 bits: the count read, and their value
// in *value (0 when none).
size_t ReadRadixDigits(std::string_view text, int radix, std::uint32_t* value);
size_t ReadRadixDigits(std::u16string_view text, int radix, std::uint32_t* value);

// The value of the count hexadecimal digits at text[at]; -1 when there are
// fewer, or one is not a digit.
int ReadHex(std::string_view text, size_t at, size_t count);
int ReadHex(std::u16string_view text, size_t at, size_t count);
// The value of the hexadecimal digits at the start of text, at most
// maxDigits (8 or fewer) of them; 0 when there are none.
long LeadingHex(std::string_view text, size_t maxDigits);

// "&H" or "&O" (either case) and its digits at the start of text, read as the
// script language reads a number's text: up to 4 hexadecimal or 6 octal
// digits worth at most 16 bits are an Integer's bits (&HFFFF is -1), others
// a Long's (&H10000 is 65536, &HFFFFFFFF is -1). The length read, with the
// value in *value and whether it is an Integer in *integer; 0 when text
// begins with no such number or its value passes 32 bits. A literal in a
// script's source follows rules of its own (the lexer's).
size_t ReadRadixNumber(std::string_view text, std::int32_t* value, bool* integer = nullptr);

}  // namespace text
