// Dispatch through a command table: one ordered list of rows, tested row by
// row, the first match wins. Rows that rewrite the line sit at their place
// in the order, because a line is rewritten only when no earlier row took
// it. The interpreter is given its table; the built-in one lives with the
// commands.
#pragma once

#include <climits>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class Interpreter;
struct CommandRow;

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

using CommandHandler = void (*)(Interpreter&, const Command&);
// Fills *line and returns true when the rule applies to the command.
using RewriteRule = bool (*)(const Command&, std::string* line);
// A test on the whole command text, for rows that are not words.
using CommandMatcher = bool (*)(const Command&);

inline constexpr int kAnyArgs = INT_MAX;

struct CommandRow {
    std::vector<std::string_view> words = {};
    CommandHandler handler = nullptr;
    // A command with fewer or more arguments than these prints the syntax
    // lines instead of running.
    int minArgs = 0;
    int maxArgs = kAnyArgs;
    // Printed, one line each, when the arguments do not fit.
    std::vector<std::string_view> syntax = {};
    // Tried when no word of this row matched.
    RewriteRule rewrite = nullptr;
    // Used instead of the words when set.
    CommandMatcher matches = nullptr;
};

using CommandTable = std::vector<CommandRow>;

// What a table makes of a command: the row that takes it, or the new line
// of the rewrite rule that took it first; neither when nothing did.
struct TableMatch {
    const CommandRow* row = nullptr;
    bool rewritten = false;
    std::string line;
};
TableMatch MatchRow(const CommandTable& table, const Command& command);

// Runs the row that takes the command. Returns true, with the new line in
// *rewritten, when a rewrite rule took the command instead.
bool Dispatch(Interpreter& interpreter, const CommandTable& table, Command& command,
              std::string* rewritten);

// The number of arguments after the command word: the position of the last
// one that is not empty, and at least 1 when there is any argument text.
int CountArgs(const Command& command);

// Prints the syntax lines of the row that is running the command.
void PrintSyntax(Interpreter& interpreter, const Command& command);

}  // namespace vantrel
