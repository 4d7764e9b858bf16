#include "line_editor/tab_cycle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_table.h"
#include "fake_platform.h"

namespace vantrel {
namespace {

using testing::FakeBar;

// A cycle over a fixed set of candidates, filtered as the sources filter
// them; records what it was asked and what it listed.
class TabCycleTest : public ::testing::Test {
  protected:
    void Type(const std::string& text, int caret = -1) {
        bar.SetCommandText(text);
        if (caret >= 0) bar.SelectCommandText(caret, 0);
    }
    void Tab(bool backwards = false) {
        cycle.Tab(
            backwards, LineMarkers{"|", "`", "\xAC"}, BuiltInCommands(),
            [&](const CompletionRequest& r) {
                ++gathered;
                return Gathered{RankCandidates(candidates, r.typed), cutShort};
            },
            [&](const std::vector<std::string>& lines) { listed.push_back(lines); });
    }
    // The box with the caret shown as "_".
    std::string Box() const {
        const size_t caret = static_cast<size_t>(bar.CommandCaret());
        return bar.command.substr(0, caret) + "_" + bar.command.substr(caret);
    }

    FakeBar bar;
    TabCycle cycle{bar};
    std::vector<Candidate> candidates;
    bool cutShort = false;  // the lookup ran out of time
    std::vector<std::vector<std::string>> listed;
    int gathered = 0;
};

TEST_F(TabCycleTest, OneCandidateCompletesAtOnce) {
    candidates = {{"help"}, {"dir"}, {"Program Files", "", true}, {"readme.txt"}};
    // clang-format off
    const struct { const char* typed; int caret; const char* box; } cases[] = {
        {"he", -1, "help _"},
        {"HE", -1, "help _"},
        {"he | dir", 2, "help _| dir"},           // the blank that follows is used
        {"hexyz", 2, "help _xyz"},                // the word before the caret
        {"cd pro", -1, "cd \"Program Files\\_"},  // a folder: Tab goes on into it
        {"type REA", -1, "type readme.txt _"},
        {"type zz", -1, "type zz_"},  // nothing fits: nothing changes
        {"set x=", -1, "set x=_"},    // no word completes here
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Type(c.typed, c.caret);
        const std::string typed = Box();
        Tab();
        EXPECT_EQ(Box(), c.box);
        EXPECT_TRUE(listed.empty());
        // Esc puts back what was typed after a completion, as after a cycle.
        EXPECT_EQ(cycle.Escape(), typed != Box());
        EXPECT_EQ(Box(), typed);
    }
}

TEST_F(TabCycleTest, SeveralCompleteTheirCommonBeginningThenListThenCycleEitherWay) {
    candidates = {{"Program Files", "", true}, {"ProgramData", "", true}, {"programs.txt"}};
    Type("cd c:\\pro");
    Tab();
    EXPECT_EQ(Box(), "cd c:\\Program_");
    Tab();
    EXPECT_EQ(Box(), "cd c:\\Program_");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0],
              (std::vector<std::string>{"Program Files\\", "ProgramData\\", "programs.txt"}));
    const char* forward[] = {"cd \"c:\\Program Files\\_", "cd c:\\ProgramData\\_",
                             "cd c:\\programs.txt _", "cd \"c:\\Program Files\\_"};
    for (const char* box : forward) {
        Tab();
        EXPECT_EQ(Box(), box);
    }
    for (const char* box : {"cd c:\\programs.txt _", "cd c:\\ProgramData\\_"}) {
        Tab(true);
        EXPECT_EQ(Box(), box);
    }
    EXPECT_EQ(listed.size(), 1u);
    EXPECT_EQ(gathered, 1);

    // Shift+Tab after the list starts from the last.
    candidates = {{"aa"}, {"ab"}, {"ac"}};
    Type("x a");
    Tab();
    Tab(true);  // lists, as Tab would
    EXPECT_EQ(listed.size(), 2u);
    Tab(true);
    EXPECT_EQ(Box(), "x ac _");
}

TEST_F(TabCycleTest, EscPutsBackWhatWasTypedBeforeTheFirstTabAnyOtherKeyEndsTheCycle) {
    candidates = {{"hello"}, {"help"}};
    for (int tabs = 1; tabs <= 4; ++tabs) {
        Type("say he x", 6);
        for (int i = 0; i < tabs; ++i) Tab();
        EXPECT_NE(Box(), "say he_ x") << tabs;
        EXPECT_TRUE(cycle.Escape()) << tabs;
        EXPECT_EQ(Box(), "say he_ x") << tabs;
        EXPECT_FALSE(cycle.Escape()) << tabs;  // once back, Esc is the box's
    }
    // Any other key, or a changed box, ends the cycle.
    listed.clear();
    gathered = 0;
    Type("he");
    Tab();
    Tab();
    cycle.End();
    EXPECT_FALSE(cycle.Escape());
    Tab();  // starts afresh: no list yet
    EXPECT_EQ(listed.size(), 1u);
    EXPECT_EQ(gathered, 2);

    Type("he");
    Tab();
    bar.command = "hex";  // typed meanwhile, or pasted with the mouse
    EXPECT_FALSE(cycle.Escape());
    EXPECT_EQ(bar.command, "hex");

    Type("he");
    Tab();
    EXPECT_EQ(gathered, 4);
    bar.SelectCommandText(1, 0);  // the caret moved
    Tab();                        // starts afresh from the caret
    EXPECT_EQ(gathered, 5);
    EXPECT_EQ(Box(), "hel_el");
    EXPECT_EQ(listed.size(), 1u);
}

// A lookup that ran out of time may have missed names that fit: nothing
// it found is put in, and the list says there are more.
TEST_F(TabCycleTest, ALookupCutShortOnlyListsWhatItFoundAndOddLinesDoNotFault) {
    candidates = {{"aa1"}, {"aa2"}};
    cutShort = true;
    for (const char* typed : {"type a", "type aa1"}) {
        Type(typed);
        Tab();
        EXPECT_EQ(bar.command, typed);
        ASSERT_FALSE(listed.empty());
        EXPECT_EQ(listed.back().back(),
                  "... and more than could be read in time: type more letters");
        EXPECT_FALSE(cycle.Escape());
    }
    EXPECT_EQ(listed.front().front(), "aa1");

    // Huge and odd lines do not fault.
    cutShort = false;
    candidates = {{"a"}, {"ab"}};
    const std::string lines[] = {std::string(300000, 'a'), std::string(300000, ' '),
                                 std::string("\"\0\xff\"", 4), "", "\""};
    for (const std::string& line : lines) {
        Type(line);
        for (int i = 0; i < 3; ++i) Tab();
        cycle.Escape();
    }
    // A word longer than any path is not completed at all.
    Type(std::string(TabCycle::kLongestWord + 1, 'a'));
    const int before = gathered;
    Tab();
    EXPECT_EQ(gathered, before);
}

}  // namespace
}  // namespace vantrel
