#include "console/history_search.h"

#include <gtest/gtest.h>

namespace vantrel::testing {
namespace {

// Each step of a search and what the two boxes show after it.
TEST(HistorySearchTest, StepsFindNewerThenOlderMatchesAndAFailedStepKeepsTheLastMatch) {
    HistoryLines lines;
    lines.Assign({"dir c:\\temp", "echo Temp", "cd \\", "type temp.txt", "cls"});
    enum Step { kStart, kType, kOlder, kBack };
    struct Case {
        Step step;
        char c;  // typed, for kType
        const char* shown;
        const char* prompt;
    } cases[] = {
        {kStart, 0, "", "(search)''>"},
        {kType, 't', "type temp.txt", "(search)'t'>"},
        {kType, 'e', "type temp.txt", "(search)'te'>"},
        {kType, 'M', "type temp.txt", "(search)'teM'>"},  // letter case ignored
        {kOlder, 0, "echo Temp", "(search)'teM'>"},
        {kOlder, 0, "dir c:\\temp", "(search)'teM'>"},
        {kOlder, 0, "dir c:\\temp", "(no match)'teM'>"},  // none older
        {kType, 'x', "dir c:\\temp", "(no match)'teMx'>"},
        {kBack, 0, "type temp.txt", "(search)'teM'>"},  // from the newest again
        {kBack, 0, "type temp.txt", "(search)'te'>"},
        {kBack, 0, "type temp.txt", "(search)'t'>"},
        {kBack, 0, "", "(search)''>"},  // nothing to search: the text before
        {kBack, 0, "", "(search)''>"},
        {kOlder, 0, "cls", "(search)''>"},  // every line holds the empty text
        {kOlder, 0, "type temp.txt", "(search)''>"},
    };
    HistorySearch search;
    EXPECT_FALSE(search.Active());
    int n = 0;
    for (const Case& c : cases) {
        switch (c.step) {
            case kStart:
                search.Start(lines, "");
                break;
            case kType:
                search.Type(lines, c.c);
                break;
            case kOlder:
                search.Older(lines);
                break;
            case kBack:
                search.Back(lines);
                break;
        }
        EXPECT_EQ(search.Shown(), c.shown) << "step " << n;
        EXPECT_EQ(search.Prompt(), c.prompt) << "step " << n;
        ++n;
    }
    EXPECT_TRUE(search.Active());
    search.End();
    EXPECT_FALSE(search.Active());
}

TEST(HistorySearchTest, TheTypedTextIsTheFirstSearchTextAndIsKeptForEsc) {
    HistoryLines lines;
    lines.Assign({"cd \\server\\share", "dir", "echo cd"});
    HistorySearch search;
    search.Start(lines, "CD \\");
    EXPECT_EQ(search.Shown(), "cd \\server\\share");
    EXPECT_EQ(search.Prompt(), "(search)'CD \\'>");
    EXPECT_EQ(search.Original(), "CD \\");
}

TEST(HistorySearchTest, AnEmptyHistoryFindsNothingAndKeepsTheTypedText) {
    HistoryLines lines;
    HistorySearch search;
    search.Start(lines, "echo");
    EXPECT_EQ(search.Shown(), "echo");
    EXPECT_EQ(search.Prompt(), "(no match)'echo'>");
    search.Start(lines, "");
    search.Older(lines);
    EXPECT_EQ(search.Shown(), "");
    EXPECT_EQ(search.Prompt(), "(no match)''>");
}

}  // namespace
}  // namespace vantrel::testing
