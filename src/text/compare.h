// Comparing and finding text without regard to letter case, in every
// script, through the one fold of case_fold.h. The console's matches (a
// command word, a marker, a name typed in part) compare whole characters,
// and bytes that make no character match only themselves. The script
// engine's orderings and unit positions (StrComp, InStr) read such a byte as
// its Windows-1252 character, as a script sees it everywhere else.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// Whether find starts at text[at], letter case folded; on a match *end is
// where it ends in text (a letter's other case may differ in length).
bool MatchesAt(std::string_view text, size_t at, std::string_view find, size_t* end);
// The position of the first occurrence of find at or after from, ignoring
// case; npos when there is none.
size_t FindNoCase(std::string_view text, std::string_view find, size_t from = 0);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
// The text with every occurrence of find replaced, left to right; noCase
// finds as FindNoCase does. An empty find replaces nothing.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view with,
                       bool noCase = false);

// Compares in UTF-16 unit order, as VBScript's binary comparison does (this
// differs from code point order only for U+E000..U+FFFF against characters
// beyond the Basic Multilingual Plane); ignoring case with fold.
int Compare(std::string_view a, std::string_view b, bool fold);

// Searches of an ASCII needle in an ASCII text, where bytes are units.
size_t FindAscii(std::string_view hay, std::string_view needle, size_t from, bool fold);
size_t FindLastAscii(std::string_view hay, std::string_view needle, size_t end, bool fold);
// The unit position of needle in hay at or after unit `from`, or npos;
// ignoring case with fold. Positions count UTF-16 units.
size_t FindUnits(std::string_view hay, std::string_view needle, size_t from, bool fold);
// The last unit position of needle that ends at or before unit `end`.
size_t FindLastUnits(std::string_view hay, std::string_view needle, size_t end, bool fold);

}  // namespace text
