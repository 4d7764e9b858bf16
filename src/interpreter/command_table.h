// The built-in commands as data: one ordered table, tested row by row, the
// first match wins. Rows that rewrite the line sit at their place in the
// order, because a line is rewritten only when no earlier row took it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class Interpreter;
struct Command;

using CommandHandler = void (*)(Interpreter&, const Command&);
// Fills *line and returns true when the rule applies to the command.
using RewriteRule = bool (*)(const Command&, std::string* line);
// A test on the whole command text, for rows that are not words.
using CommandMatcher = bool (*)(const Command&);

struct CommandRow {
    std::vector<std::string_view> words;
    CommandHandler handler = nullptr;
    // Printed, one line each, when the arguments do not fit.
    std::vector<std::string_view> syntax;
    // Tried when no word of this row matched.
    RewriteRule rewrite = nullptr;
    // Used instead of the words when set.
    CommandMatcher matches = nullptr;
};

const std::vector<CommandRow>& CommandTable();

// Runs the first row that matches. Returns true, with the new line in
// *rewritten, when a rewrite rule took the command instead.
bool Dispatch(Interpreter& interpreter, Command& command, std::string* rewritten);

// Prints the syntax lines of the row that is running the command.
void PrintSyntax(Interpreter& interpreter, const Command& command);

}  // namespace vantrel
