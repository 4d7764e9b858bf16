#include "line_editor/run_counts.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

TEST(RunCountsTest, WeighCountAndRecencyAndReadBackWhatTheyWrite) {
    EXPECT_EQ(MinuteOf({2000, 1, 1, 0, 0}), 0);
    EXPECT_EQ(MinuteOf({2000, 3, 1, 1, 2}), (31 + 29) * 1440 + 62);
    EXPECT_EQ(MinuteOf({1999, 12, 31, 23, 59}), -1);

    RunCounts runs;
    EXPECT_EQ(runs.Ran("notepad.exe", 1000), "1\t1000\tnotepad\r\n");
    EXPECT_EQ(runs.Ran("", 1000), "");
    runs.Ran("\"C:\\Windows\\NOTEPAD\"", 1000);
    // The last run decides how recent: within the hour, the day, the week.
    const struct {
        std::int64_t now;
        double weight;
    } ages[] = {{1060, 8},        {1061, 4},         {1000 + 1440, 4},
                {1001 + 1440, 2}, {1000 + 10080, 2}, {1001 + 10080, 1}};
    for (const auto& age : ages) EXPECT_EQ(runs.Weight("Notepad", age.now), age.weight) << age.now;
    EXPECT_EQ(runs.Weight("notepad2", 1000), 0);

    // Lines of a name add up and keep its latest minute; what cannot be
    // read (a minute far past any clock's among it) is passed over but
    // counted as a line.
    RunCounts read;
    EXPECT_EQ(read.Read("2\t50\tWT.exe\r\n3\t40\twt\n\r\nx\t1\tbad\n0\t1\tnone\n"
                        "1\t1\n1\t2\ta\tb\n40001\t1\thuge\n1\t-5\told\n"
                        "9\t-9223372036854775808\tfar\n9\t100000000001\tfar\n"),
              10u);
    EXPECT_EQ(read.FileText(), "1\t-5\told\r\n5\t50\twt\r\n");
    RunCounts again;
    again.Read(read.FileText());
    EXPECT_EQ(again.FileText(), read.FileText());
}

TEST(RunCountsTest, StayBoundedAndLetOldHabitsFade) {
    RunCounts runs;
    runs.Ran("old", 1);  // twice, but long ago
    runs.Ran("old", 1);
    for (size_t i = 1; i < RunCounts::kMostNames; ++i)
        runs.Ran(std::string("p").append(std::to_string(i)), 5000);
    runs.Ran("p7", 5000);
    // A new name takes the place of the least weighty other one.
    runs.Ran("new", 5000);
    EXPECT_EQ(runs.Names(), RunCounts::kMostNames);
    EXPECT_EQ(runs.Weight("old", 5000), 0);
    EXPECT_EQ(runs.Weight("p1", 5000), 4);
    EXPECT_GT(runs.Weight("new", 5000), 0);
    EXPECT_EQ(runs.Weight("p7", 5000), 8);

    // Once the counts add up to the bound, each is halved: a name run once
    // is forgotten, p7 keeps one run.
    RunCounts aged;
    aged.Ran("once", 0);
    aged.Ran("twice", 0);
    aged.Ran("twice", 0);
    for (std::uint64_t i = 3; i < RunCounts::kAgeAtTotal; ++i) aged.Ran("often", 0);
    EXPECT_EQ(aged.Names(), 2u);
    EXPECT_EQ(aged.Weight("once", 0), 0);
    EXPECT_EQ(aged.Weight("twice", 0), 4);
    EXPECT_EQ(aged.Weight("often", 0), 4 * ((RunCounts::kAgeAtTotal - 3) / 2));
}

}  // namespace
}  // namespace vantrel
