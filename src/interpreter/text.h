// Text helpers shared by the commands: trimming, counting and replacing,
// settings' numbers and a file's lines. The command line's grammar is in
// command_line.h; letter case and the case-insensitive comparisons are the
// text layer's (text/case_fold.h, text/compare.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Removes leading and trailing spaces (only spaces, as the console's lines do).
std::string_view TrimSpaces(std::string_view text);

// Replaces every occurrence of find; noCase compares without letter case.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view with,
                       bool noCase = false);

// Non-overlapping occurrences of find (not empty); compare 1 ignores case.
long CountOcc(std::string_view text, std::string_view find, int compare = 0);
// The 1-based position of the last occurrence of find, 0 when none.
long LastInStr(std::string_view text, std::string_view find);

// The number at the start of a text, as a settings reader takes it: leading
// spaces skipped, then an optional sign, digits, a fraction and an exponent;
// "&H" and "&O" prefixes read hexadecimal and octal. No number reads as 0.
double LeadingNumber(std::string_view text);

// The lines of a text file: CR LF, or a lone one of the break characters,
// ends one; the terminator is not part of the line, and a last terminator
// adds no empty line after it.
std::vector<std::string> SplitLines(std::string_view text, std::string_view breaks = "\r\n");

// The text with every double quote taken out.
std::string RemoveQuotes(std::string_view text);

}  // namespace vantrel
