#include "line_editor/history_search.h"

#include <gtest/gtest.h>

namespace vantrel::testing {
namespace {

// Each step of a search and what the two boxes show after it.
TEST(HistorySearchTest, StepsFindNewerThenOlderMatchesAndAFailedStepKeepsTheLastMatch) {
    HistoryLines lines;
    lines.Assign({"echo 日本", "dir c:\\temp", "echo Temp", "cd \\", "type temp.txt", "cls"});
    enum Step { kStart, kType, kOlder, kBack };
    // c: typed, for kType; the box's text, for kStart
    // clang-format off
    const struct { Step step; const char* c; const char* shown; const char* prompt; } cases[] = {
        {kStart, "", "", "(search)''>"},
        {kType, "t", "type temp.txt", "(search)'t'>"},
        {kType, "e", "type temp.txt", "(search)'te'>"},
        {kType, "M", "type temp.txt", "(search)'teM'>"},  // letter case ignored
        {kOlder, "", "echo Temp", "(search)'teM'>"},
        {kOlder, "", "dir c:\\temp", "(search)'teM'>"},
        {kOlder, "", "dir c:\\temp", "(no match)'teM'>"},  // none older
        {kType, "x", "dir c:\\temp", "(no match)'teMx'>"},
        {kBack, "", "type temp.txt", "(search)'teM'>"},  // from the newest again
        {kBack, "", "type temp.txt", "(search)'te'>"},
        {kBack, "", "type temp.txt", "(search)'t'>"},
        {kBack, "", "", "(search)''>"},  // nothing to search: the text before
        {kBack, "", "", "(search)''>"},
        {kOlder, "", "cls", "(search)''>"},  // every line holds the empty text
        {kOlder, "", "type temp.txt", "(search)''>"},
        {kType, "日", "echo 日本", "(search)'日'>"},
        {kBack, "", "", "(search)''>"},  // the whole character goes
        {kStart, "CD \\", "cd \\", "(search)'CD \\'>"},  // the typed text is searched at once
    };
    // clang-format on
    HistorySearch search;
    EXPECT_FALSE(search.Active());
    int n = 0;
    for (const auto& c : cases) {
        if (c.step == kStart) search.Start(lines, c.c);
        if (c.step == kType) search.Type(lines, c.c);
        if (c.step == kOlder) search.Older(lines);
        if (c.step == kBack) search.Back(lines);
        EXPECT_EQ(search.Shown(), c.shown) << "step " << n;
        EXPECT_EQ(search.Prompt(), c.prompt) << "step " << n;
        ++n;
    }
    EXPECT_TRUE(search.Active());
    search.End();
    EXPECT_FALSE(search.Active());
}

}  // namespace
}  // namespace vantrel::testing
