// Text helpers shared by the commands: quote-aware arguments, counting and
// searching, and letter case in every script of the console's UTF-8 text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/convert.h"

namespace vantrel {

// Single bytes of the legacy code page, for what is still bytes (a drive
// letter, a hexadecimal digit).
using script::LowerChar;
using script::UpperChar;
// The engine's case mappings: a name matches the same way in a command and
// in a script.
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

// Removes leading and trailing spaces (only spaces, as the console's lines do).
std::string_view TrimSpaces(std::string_view text);

// Position of the first occurrence of find at or after from, comparing
// without regard to letter case; npos when there is none.
size_t FindNoCase(std::string_view text, std::string_view find, size_t from = 0);
// Whether find starts at text[at], letter case folded; on a match *end is
// where it ends in text (a letter's other case may differ in length).
bool MatchesAt(std::string_view text, size_t at, std::string_view find, size_t* end);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Replaces every occurrence of find; noCase compares without letter case.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view with,
                       bool noCase = false);

// The n-th quote-aware token of text, counting from 1; n = 0 gives "".
std::string ParseArgs(std::string_view text, int n);
// Every token ParseArgs finds in text, in order: ParseArgs(text, n) is the
// n-th of them, or "" past the last.
std::vector<std::string> SplitArgs(std::string_view text);
// The n-th argument after the command word of a whole command line.
inline std::string GetArg(std::string_view line, int n) {
    return ParseArgs(line, n + 1);
}

// The value of the hexadecimal digits at the start of text, at most
// maxDigits of them; 0 when there are none.
long LeadingHex(std::string_view text, size_t maxDigits);

// Non-overlapping occurrences of find (not empty); compare 1 ignores case.
long CountOcc(std::string_view text, std::string_view find, int compare = 0);
// The 1-based position of the last occurrence of find, 0 when none.
long LastInStr(std::string_view text, std::string_view find);

// The number at the start of a text, as a settings reader takes it: leading
// spaces skipped, then an optional sign, digits, a fraction and an exponent;
// "&H" and "&O" prefixes read hexadecimal and octal. No number reads as 0.
double LeadingNumber(std::string_view text);

// Rounds halves to the even neighbour, as the console rounds settings.
long long RoundHalfEven(double value);

// The lines of a text file: CR LF, or a lone one of the break characters,
// ends one; the terminator is not part of the line, and a last terminator
// adds no empty line after it.
std::vector<std::string> SplitLines(std::string_view text, std::string_view breaks = "\r\n");

// The text with every double quote taken out.
std::string RemoveQuotes(std::string_view text);

}  // namespace vantrel
