// How the console reads the text of its lines and settings: the blanks it
// trims, the quotes it drops and the number it takes from the start of a
// text. The grammar of a line is command_line.h's.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Removes leading and trailing spaces (only spaces, as the console's lines do).
std::string_view TrimSpaces(std::string_view text);

// The text with every double quote taken out.
std::string RemoveQuotes(std::string_view text);

// The number at the start of a text, as a settings reader takes it: leading
// blanks skipped, then an optional sign, digits, a fraction and an exponent;
// "&H" and "&O" numbers read as the script reads them ("&HFFFF" is -1). No
// number reads as 0.
double LeadingNumber(std::string_view text);

}  // namespace vantrel
