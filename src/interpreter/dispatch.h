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

#include "interpreter/command_line.h"
#include "text/case_fold.h"

namespace vantrel {

class Interpreter;
struct CommandRow;

using CommandHandler = void (*)(Interpreter&, const Command&);
// Fills *line and returns true when the rule applies to the command.
using RewriteRule = bool (*)(const Command&, std::string* line);
// A test on the whole command text, for rows that are not words.
using CommandMatcher = bool (*)(const Command&);

inline constexpr int kAnyArgs = INT_MAX;
// How many rewrites one command may go through: rewrites always end in a
// built-in word, so a handful is plenty; the bound only guards against a
// rewrite rule that would feed itself.
inline constexpr int kMaxRewrites = 16;

// What an argument of a command is: what Tab offers there, and what the
// history may keep of it.
enum class ArgKind : unsigned char {
    kWords,        // one of the command's own words, read from its syntax lines
    kPath,         // a file or folder
    kTarget,       // what RUN opens: a program, a shortcut, a file or folder
    kBatch,        // a batch file of the shortcut folder, by its name
    kVariable,     // a variable's name; what follows "=" is its text
    kExpression,   // a script expression, holding names
    kEnvironment,  // an environment variable's name
    kWindow,       // a window's title or a program's name
    kColour,       // a name from Colours.txt, or #RRGGBB
    kText,         // anything: nothing completes it
    kPassword,     // never written to the history
};

struct Arguments {
    ArgKind first = ArgKind::kWords;  // the first argument
    ArgKind later = ArgKind::kWords;  // those after it
    // The command takes its argument text whole, blanks and quotes and all
    // (MD, FOCUS), rather than as quote-aware arguments.
    bool whole = false;
    // Words of its own that its syntax lines do not show (ECHO's ON, OFF).
    std::vector<std::string_view> words = {};
    // For a command whose arguments depend on the one before them: the
    // kind of argument index (1 for the first) after previous (lower
    // case), its own words there added to *words.
    ArgKind (*at)(int index, std::string_view previous, std::vector<std::string>* words) = nullptr;
    // The first argument may follow a one-character command word without a
    // blank: when no word of the row matched, a command word that begins
    // with one of the row's is read as that word, a blank and the rest.
    bool runsOn = false;

    ArgKind At(int index) const { return index <= 1 ? first : later; }
};

struct CommandRow {
    std::vector<std::string_view> words = {};
    CommandHandler handler = nullptr;
    // What its arguments are.
    Arguments arguments = {};
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
    // A line that runs it is never written to the history's files nor
    // counted as run (PRIVATE: going private is private too).
    bool unrecorded = false;
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

// The row whose words hold word (lower case), or nullptr.
const CommandRow* FindRow(const CommandTable& table, std::string_view word);
// Whether some command of the line (split at the separator as the
// interpreter splits it) has a row, by its first word, that passes test.
template <typename Test>
bool AnyCommandRow(std::string_view line, std::string_view separator, const CommandTable& table,
                   Test test) {
    return AnyCommand(line, separator, [&](size_t start, size_t end) {
        const std::string_view command = line.substr(0, end);
        Token word;
        if (!Tokens(command, start).Next(&word)) return false;
        const CommandRow* row = FindRow(table, text::LowerCase(word.In(command)));
        return row && test(*row);
    });
}
// How much of a first word typed is the command word: 1 for a word that
// runs on into its argument, else the whole word.
size_t RunOnWordLength(const CommandTable& table, std::string_view word);
// Which argument of the row is a password (1 for the first), 0 for none.
int PasswordIndex(const CommandRow& row);
// The words allowed at argument index of the row (its own words, from its
// syntax lines and its arguments), and what that argument is.
ArgKind ArgumentAt(const CommandRow& row, int index, std::string_view previous,
                   std::vector<std::string>* words);

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
