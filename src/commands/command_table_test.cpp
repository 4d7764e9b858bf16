#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <set>

#include "interpreter_fixture.h"
#include "text/case_fold.h"

namespace vantrel {
namespace {

TEST(CommandTableTest, EveryRowIsReachedByEachOfItsWordsAndNoWordIsInTwoRows) {
    const CommandTable& table = BuiltInCommands();
    std::set<std::string_view> seen;
    for (const CommandRow& row : table) {
        EXPECT_TRUE(!row.handler || !row.words.empty() || row.matches) << "a row nothing reaches";
        EXPECT_LE(row.minArgs, row.maxArgs);
        for (std::string_view word : row.words) {
            EXPECT_TRUE(seen.insert(word).second) << word << " is in two rows";
            EXPECT_EQ(MatchRow(table, ParseCommand(std::string(word))).row, &row) << word;
            EXPECT_EQ(text::LowerCase(word), word);
        }
    }
    const CommandRow* drive = MatchRow(table, ParseCommand("d:")).row;
    ASSERT_NE(drive, nullptr);
    EXPECT_TRUE(drive->words.empty());
    EXPECT_EQ(MatchRow(table, ParseCommand("c:")).row, drive);
}

// The rewrites that reach a row run in the golden cases (cd.., ?1+1, !x=1);
// a null rewrite is a word that no rewrite may take.
TEST(CommandTableTest, RewritesTakeWhatNoEarlierRowTook) {
    const std::pair<const char*, const char*> cases[] = {
        {"cd/x", "cd /x"},
        {"cdd.", "cdd ."},
        {"notepad", "run notepad"},
        {"dirx", "run dirx"},
        {"settings", "run settings"},
        {"@x", "run @x"},
        {"?", nullptr},
        {"!", nullptr},
        {"update", nullptr},
        {"donate", nullptr},
    };
    for (auto [line, rewritten] : cases) {
        TableMatch match = MatchRow(BuiltInCommands(), ParseCommand(line));
        EXPECT_EQ(match.rewritten, rewritten != nullptr) << line;
        if (rewritten) {
            EXPECT_EQ(match.line, rewritten) << line;
        }
    }
}

TEST(CommandTableTest, CountArgsIsThePlaceOfTheLastArgument) {
    const std::pair<const char*, int> cases[] = {
        {"copy", 0},           {"copy a", 1},      {"copy a b", 2},  {"copy  a   b ", 2},
        {"copy \"a b\" c", 2}, {"copy a \"\"", 1}, {"copy \"\"", 1}, {"copy \"\" b", 2},
        {"copy a \"\" c", 3},  {"copy \"a\"b", 2}, {"copy \"a", 1},
    };
    for (auto [line, count] : cases) EXPECT_EQ(CountArgs(ParseCommand(line)), count) << line;
}

using CommandSyntaxTest = testing::InterpreterTest;

// Each line has one argument too few or too many for its row: it prints that
// row's syntax lines, and nothing runs.
TEST_F(CommandSyntaxTest, ALineOutsideItsRowsCountsPrintsTheRowsSyntaxLines) {
    // clang-format off
    const char* const lines[] = {
        "focus", "close", "kill", "ban 1 2", "unban", "unban 1 2", "cd", "cdd", "md", "rd",
        "urlhex", "urlhex a b", "sendkeys", "dos", "path x", "colour", "colour a b c d e",
        "copy a", "copy a b c", "move a", "move a b c", "rename a", "rename a b c",
        "keepoutput on now", "enterbutton on now", "alwaysontop on now", "edit", "type",
        "addbatch", "editbatch", "delbatch", "addsearch x", "savepos now", "dcb now",
        "autostart on now", "dock", "dock top now", "hide now", "show now", "winpos 1 2 3 4",
        "mouse 1 2 3 4", "orvanesite a b", "update now", "ver now", "listen 1 2 3", "connect",
        "connect a b c", "disconnect now", "exit now", "shutdown now", "restart now"};
    // clang-format on
    for (const char* line : lines) {
        const CommandRow* row = MatchRow(BuiltInCommands(), ParseCommand(line)).row;
        ASSERT_NE(row, nullptr) << line;
        std::string syntax;
        for (std::string_view text : row->syntax) syntax += std::string(text) + "\n";
        EXPECT_EQ(Output(line) + "\n", syntax) << line;
    }
    EXPECT_TRUE(os.processes.started.empty() && os.shell.opens.empty());
}

}  // namespace
}  // namespace vantrel
