// The grammar of a command line, in one place for every reader of a line:
// running it, completing a word of it and keeping it in the history. A line
// may begin with "@" (no echo) or "&" (keep the output); the separator
// (CmdSepString) splits it into commands, found without regard to case; two
// markers (VarString, VarEnvString) enclose what is expanded; a command is
// its word and quote-aware arguments: a token that begins with a double
// quote runs to the next one (or to the end), any other to the next blank.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/compare.h"

namespace vantrel {

struct CommandRow;

// The separator and markers the settings give.
struct LineMarkers {
    std::string separator = "|";  // CmdSepString
    std::string variable = "`";   // VarString
    std::string environment;      // VarEnvString
};

// The length of the line's "@" or "&" prefix: 1 or 0.
size_t PrefixLength(std::string_view line);

// Where the first separator at or after from is, ignoring case; npos when
// there is none, or the separator is "" (splitting is off).
size_t FindSeparator(std::string_view line, std::string_view separator, size_t from = 0);
// Calls visit(start, end) for each command of the line in turn, split at
// the separator as the interpreter splits it, until one call returns true;
// whether one did.
template <typename Visit>
bool AnyCommand(std::string_view line, std::string_view separator, Visit visit) {
    size_t start = PrefixLength(line);
    for (;;) {
        size_t end = FindSeparator(line, separator, start);
        if (end == std::string_view::npos) end = line.size();
        if (visit(start, end)) return true;
        if (end == line.size()) return false;
        text::MatchesAt(line, end, separator, &start);
    }
}
// Where the text of the command that holds position `at` begins: just past
// the last separator before it, or after the line's prefix.
size_t CommandStart(std::string_view line, std::string_view separator, size_t at);

// Where the first marker at or after from is, ignoring case, as expansion
// pairs them; npos when there is none or the marker is "".
size_t FindMarker(std::string_view line, std::string_view marker, size_t from = 0);
// The marker that the text from `from` to its end leaves open (the last of
// an odd number), or npos when every marker there is closed.
size_t OpenMarker(std::string_view text, std::string_view marker, size_t from = 0);

// One quote-aware token as it stands in the text.
struct Token {
    size_t begin = 0;     // its first character: the opening quote, if any
    size_t end = 0;       // just past it: past the closing quote, if any
    bool quoted = false;  // it begins with a quote
    // The argument it is: without its quotes.
    std::string_view In(std::string_view text) const;
};

// The tokens of a text one at a time, so that a line of a million words is
// walked once and nothing of it is kept.
class Tokens {
  public:
    explicit Tokens(std::string_view text, size_t from = 0) : text_(text), at_(from) {}
    bool Next(Token* token);

  private:
    std::string_view text_;
    size_t at_;
};

// The n-th token of text, counting from 1; n = 0 gives "".
std::string ParseArgs(std::string_view text, int n);
// Every token of text, in order: ParseArgs(text, n) is the n-th of them.
std::vector<std::string> SplitArgs(std::string_view text);
// The n-th argument after the command word of a whole command line.
inline std::string GetArg(std::string_view line, int n) {
    return ParseArgs(line, n + 1);
}

// One command of a line, after splitting and expansion.
struct Command {
    std::string line;                 // the trimmed command text
    std::string word;                 // the command word, lower case
    std::string args;                 // the argument text, trimmed, case kept
    std::string argsLower;            // the same in lower case
    const CommandRow* row = nullptr;  // the table row running it

    // The n-th argument after the command word (quote-aware), "" if none.
    std::string Arg(int n) const;
};

// The command in text: its word, lower case, and the argument text after
// it. For a quoted word the argument text starts at its closing quote, as
// RunCommand has always taken it.
Command ParseCommand(std::string_view text);

}  // namespace vantrel
