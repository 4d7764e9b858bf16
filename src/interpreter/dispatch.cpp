#include "interpreter/dispatch.h"

#include <algorithm>

#include "interpreter/interpreter.h"
#include "text/case_fold.h"
#include "text/char_class.h"
#include "text/compare.h"

namespace vantrel {

namespace {

bool RowMatches(const CommandRow& row, const Command& command) {
    if (row.matches) return row.matches(command);
    for (std::string_view word : row.words) {
        if (word == command.word) return true;
    }
    return false;
}

// The one-character word of a row that runs on, when word begins with it.
std::string_view RunOnWord(const CommandRow& row, std::string_view word) {
    if (!row.arguments.runsOn || word.size() < 2) return {};
    for (std::string_view w : row.words) {
        if (w.size() == 1 && word[0] == w[0]) return w;
    }
    return {};
}

// The upper-case words that a syntax line such as "Syntax: DOCK
// TOP|BOTTOM|OFF" allows at argument index (1 for the first), in lower
// case; placeholders in lower case ("port") are not words.
void SyntaxWords(std::string_view syntax, int index, std::vector<std::string>* words) {
    std::vector<std::string> tokens = SplitArgs(syntax);
    if (index < 1 || tokens.size() < 2 || static_cast<size_t>(index) + 1 >= tokens.size()) return;
    std::string place;
    for (char c : tokens[static_cast<size_t>(index) + 1]) {
        if (c != '[' && c != ']') place += c;
    }
    for (size_t start = 0; start <= place.size();) {
        size_t end = place.find('|', start);
        if (end == std::string::npos) end = place.size();
        const std::string word = place.substr(start, end - start);
        const bool upper = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
            return text::IsAsciiUpper(c);
        });
        if (upper) words->push_back(text::LowerCase(word));
        start = end + 1;
    }
}

}  // namespace

TableMatch MatchRow(const CommandTable& table, const Command& command) {
    TableMatch match;
    for (const CommandRow& row : table) {
        if (row.handler && RowMatches(row, command)) {
            match.row = &row;
            return match;
        }
        if (row.rewrite && row.rewrite(command, &match.line)) {
            match.rewritten = true;
            return match;
        }
        if (!RunOnWord(row, command.word).empty()) {
            // The line begins with that one character, which has no case.
            match.line = command.line;
            match.line.insert(1, 1, ' ');
            match.rewritten = true;
            return match;
        }
    }
    return match;
}

const CommandRow* FindRow(const CommandTable& table, std::string_view word) {
    for (const CommandRow& row : table) {
        if (std::find(row.words.begin(), row.words.end(), word) != row.words.end()) return &row;
    }
    return nullptr;
}

size_t RunOnWordLength(const CommandTable& table, std::string_view word) {
    for (const CommandRow& row : table) {
        if (std::find(row.words.begin(), row.words.end(), word) != row.words.end()) break;
        if (!RunOnWord(row, word).empty()) return 1;
    }
    return word.size();
}

int PasswordIndex(const CommandRow& row) {
    if (row.arguments.first == ArgKind::kPassword) return 1;
    return row.arguments.later == ArgKind::kPassword ? 2 : 0;
}

ArgKind ArgumentAt(const CommandRow& row, int index, std::string_view previous,
                   std::vector<std::string>* words) {
    const Arguments& args = row.arguments;
    if (args.at) return args.at(index, previous, words);
    const ArgKind kind = args.At(index);
    if (kind != ArgKind::kWords) return kind;
    if (index == 1) {
        for (std::string_view w : args.words) words->emplace_back(w);
    }
    for (std::string_view syntax : row.syntax) {
        if (text::StartsWithNoCase(syntax, "Syntax:")) SyntaxWords(syntax, index, words);
    }
    return kind;
}

int CountArgs(const Command& command) {
    std::vector<std::string> tokens = SplitArgs(command.line);
    int count = 0;
    for (size_t i = 1; i < tokens.size(); ++i) {
        if (!tokens[i].empty()) count = static_cast<int>(i);
    }
    return count == 0 && !command.args.empty() ? 1 : count;
}

bool Dispatch(Interpreter& interpreter, const CommandTable& table, Command& command,
              std::string* rewritten) {
    TableMatch match = MatchRow(table, command);
    if (match.rewritten) *rewritten = std::move(match.line);
    if (!match.row) return match.rewritten;
    const CommandRow* row = match.row;
    command.row = row;
    const int count = CountArgs(command);
    if (count < row->minArgs || count > row->maxArgs) {
        PrintSyntax(interpreter, command);
    } else {
        row->handler(interpreter, command);
    }
    return false;
}

void PrintSyntax(Interpreter& interpreter, const Command& command) {
    if (!command.row) return;
    for (std::string_view line : command.row->syntax) interpreter.PrintOut(line);
}

}  // namespace vantrel
