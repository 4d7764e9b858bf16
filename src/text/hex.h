// Hexadecimal digits, as settings (FocusKey), escapes (%XX, \xXX) and
// colour texts write them.
#pragma once

#include <cstddef>
#include <string_view>

namespace text {

// The value of a hexadecimal digit, 0 to 15; -1 when c is not one.
int HexDigitValue(char c);
// The value of the count hexadecimal digits at text[at]; -1 when there are
// fewer, or one is not a digit.
int ReadHex(std::string_view text, size_t at, size_t count);
// The value of the hexadecimal digits at the start of text, at most
// maxDigits of them; 0 when there are none.
long LeadingHex(std::string_view text, size_t maxDigits);

}  // namespace text
