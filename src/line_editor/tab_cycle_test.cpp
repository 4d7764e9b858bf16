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
// them; records what it was asked and what it listed. Its steps with whole
// lookups are in testdata/tab_cycle.cases.
class TabCycleTest : public ::testing::Test {
  protected:
    void Type(const std::string& text) { bar.SetCommandText(text); }
    void Tab(bool backwards = false) {
        cycle.Tab(
            backwards, LineMarkers{"|", "`", "\xAC"}, BuiltInCommands(),
            [&](const CompletionRequest& r) {
                ++gathered;
                return Gathered{RankCandidates(candidates, r.typed), cutShort};
            },
            [&](const std::vector<std::string>& lines) { listed.push_back(lines); });
    }

    FakeBar bar;
    TabCycle cycle{bar};
    std::vector<Candidate> candidates;
    bool cutShort = false;  // the lookup ran out of time
    std::vector<std::vector<std::string>> listed;
    int gathered = 0;
};

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
