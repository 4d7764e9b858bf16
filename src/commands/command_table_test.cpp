#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <set>

#include "interpreter/text.h"
#include "text/case_fold.h"

namespace vantrel {
namespace {

Command Parsed(const std::string& line) {
    return ParseCommand(line);
}

TEST(CommandTableTest, EveryRowIsReachedByEachOfItsWordsAndNoWordIsInTwoRows) {
    const CommandTable& table = BuiltInCommands();
    std::set<std::string_view> seen;
    for (const CommandRow& row : table) {
        if (row.handler) {
            EXPECT_TRUE(!row.words.empty() || row.matches) << "a row nothing can reach";
        }
        EXPECT_LE(row.minArgs, row.maxArgs);
        for (std::string_view word : row.words) {
            EXPECT_TRUE(seen.insert(word).second) << word << " is in two rows";
            EXPECT_EQ(MatchRow(table, Parsed(std::string(word))).row, &row) << word;
            EXPECT_EQ(text::LowerCase(word), word);
        }
    }
    const CommandRow* drive = MatchRow(table, Parsed("d:")).row;
    ASSERT_NE(drive, nullptr);
    EXPECT_TRUE(drive->words.empty());
    EXPECT_EQ(MatchRow(table, Parsed("c:")).row, drive);
}

// The rewrites that reach a row run in the golden cases (cd.., ?1+1, !x=1).
TEST(CommandTableTest, RewritesTakeWhatNoEarlierRowTook) {
    struct Case {
        const char* line;
        const char* rewritten;
    } cases[] = {
        {"cd/x", "cd /x"},
        {"cdd.", "cdd ."},
        {"notepad", "run notepad"},
        {"dirx", "run dirx"},
        {"settings", "run settings"},
        {"@x", "run @x"},
    };
    for (const Case& c : cases) {
        TableMatch match = MatchRow(BuiltInCommands(), Parsed(c.line));
        EXPECT_TRUE(match.rewritten) << c.line;
        EXPECT_EQ(match.line, c.rewritten) << c.line;
    }
    for (const char* word : {"?", "!", "update", "donate"}) {
        EXPECT_FALSE(MatchRow(BuiltInCommands(), Parsed(word)).rewritten) << word;
    }
}

TEST(CommandTableTest, CountArgsIsThePlaceOfTheLastArgument) {
    struct Case {
        const char* line;
        int count;
    } cases[] = {
        {"copy", 0},           {"copy a", 1},      {"copy a b", 2},  {"copy  a   b ", 2},
        {"copy \"a b\" c", 2}, {"copy a \"\"", 1}, {"copy \"\"", 1}, {"copy \"\" b", 2},
        {"copy a \"\" c", 3},  {"copy \"a\"b", 2}, {"copy \"a", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(CountArgs(Parsed(c.line)), c.count) << c.line;
}

}  // namespace
}  // namespace vantrel
