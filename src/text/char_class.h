// Classes of characters, each defined once: the ASCII letters, digits and
// name characters that identifiers, drive letters, schemes and regular
// expressions take by rule (never the locale's), and the blanks, which are
// not one class: a typed line, the script's source, its number texts and its
// regular expressions each skip their own set, named here side by side.
//
// Every function takes a char32_t, so that bytes, UTF-16 units and code
// points all test alike; a negative char converts to a code far above ASCII
// and is in no class. They are constexpr and inline for the lexer's and the
// regular expressions' inner loops.
#pragma once

namespace text {

// A to Z, a to z.
constexpr bool IsAsciiLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool IsAsciiUpper(char32_t c) {
    return c >= 'A' && c <= 'Z';
}
constexpr bool IsAsciiLower(char32_t c) {
    return c >= 'a' && c <= 'z';
}
// 0 to 9.
constexpr bool IsAsciiDigit(char32_t c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsAsciiLetterOrDigit(char32_t c) {
    return IsAsciiLetter(c) || IsAsciiDigit(c);
}
// What a name is made of after its first letter: a script's identifiers and
// the console's variable names, and a regular expression's \w.
constexpr bool IsNameChar(char32_t c) {
    return IsAsciiLetterOrDigit(c) || c == '_';
}
// 0 to 9, a to f, A to F.
constexpr bool IsHexDigit(char32_t c) {
    return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A blank between the words of a typed line: a space or a tab.
constexpr bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t';
}
// A blank between the tokens of a script: a line break ends a statement
// instead.
constexpr bool IsScriptBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}
// What the script's conversions skip around a number's text: the line
// breaks too, but no vertical tab.
constexpr bool IsNumberTextBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}
// A regular expression's \s: every blank and line break, and the no-break
// space.
constexpr bool IsRegExpSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || c == 0xA0;
}

}  // namespace text
