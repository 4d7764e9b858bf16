#include "interpreter/dispatch.h"

#include "interpreter/interpreter.h"
#include "interpreter/text.h"

namespace vantrel {

namespace {

bool RowMatches(const CommandRow& row, const Command& command) {
    if (row.matches) return row.matches(command);
    for (std::string_view word : row.words) {
        if (word == command.word) return true;
    }
    return false;
}

}  // namespace

std::string Command::Arg(int n) const {
    return GetArg(line, n);
}

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
    }
    return match;
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
