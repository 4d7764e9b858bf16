#include "line_editor/program_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel::testing {
namespace {

constexpr char kUserMenu[] = "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
constexpr char kCommonMenu[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";

// Every name of the index, sorted without letter case, one "|" between two.
std::string Names(const ProgramIndex& index) {
    std::vector<std::string> names;
    for (const Candidate& c : index.Entries()) names.push_back(c.name);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return text::LowerCase(a) < text::LowerCase(b);
    });
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : "|") + name;
    return joined;
}

// Changes to the disk, a ";" between two: "+FILE", "/FOLDER", "-FILE",
// "OLD>NEW"; "~" stands for the user's Start menu, "^" for all users' one.
void Change(FakeFileSystem& files, const std::string& changes) {
    std::istringstream list(
        text::ReplaceAll(text::ReplaceAll(changes, "~", kUserMenu), "^", kCommonMenu));
    for (std::string change; std::getline(list, change, ';');) {
        const std::string path = change.substr(1);
        const size_t arrow = change.find('>');
        if (change[0] == '+') files.AddFile(path, "");
        if (change[0] == '/') files.AddFolder(path);
        if (change[0] == '-') files.DeleteFiles(path, nullptr);
        if (arrow != std::string::npos)
            files.Rename(change.substr(0, arrow), change.substr(arrow + 1), nullptr);
    }
}

TEST(ProgramIndexTest, TheStartMenuIsWalkedAgainAtOnceWhenItsNamesChangeAndPathWhenOld) {
    // The names are those after the change, the time passing, and the next
    // Refresh and Work.
    // clang-format off
    const struct { const char* what; bool refuseWatches; const char* changes; std::uint64_t laterMs;
                   const char* names; } cases[] = {
        {"a shortcut added", false, "+~\\Programs\\Visual Studio Code.lnk", 1000,
         "Old Tool|tool.exe|Visual Studio Code"},
        {"a shortcut removed", false, "-~\\Programs\\Old Tool.lnk", 1000, "tool.exe"},
        {"a shortcut renamed", false, "~\\Programs\\Old Tool.lnk>~\\Programs\\New Tool.lnk", 1000,
         "New Tool|tool.exe"},
        {"a folder added with a shortcut in it", false,
         "/~\\Programs\\Games;+~\\Programs\\Games\\Zeta.lnk", 1000, "Old Tool|tool.exe|Zeta"},
        {"the menu renamed away", false, "~>C:\\Elsewhere", 1000, "tool.exe"},
        {"a menu that was missing appears", false, "/^;+^\\Shared.lnk", ProgramIndex::kUnwatchedMs,
         "Old Tool|Shared|tool.exe"},
        {"a program on PATH, before the index is old", false, "+C:\\Bin\\new.exe", 1000,
         "Old Tool|tool.exe"},
        {"a program on PATH with a shortcut", false, "+C:\\Bin\\new.exe;+~\\Programs\\Zeta.lnk",
         1000, "Old Tool|tool.exe|Zeta"},
        {"a program on PATH once the index is old", false, "+C:\\Bin\\new.exe",
         ProgramIndex::kFreshMs, "new.exe|Old Tool|tool.exe"},
        {"no watch: not walked again at every key", true, "+~\\Programs\\Zeta.lnk", 1000,
         "Old Tool|tool.exe"},
        {"no watch: walked again after a few seconds", true, "+~\\Programs\\Zeta.lnk",
         ProgramIndex::kUnwatchedMs, "Old Tool|tool.exe|Zeta"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform os;
        os.files.refuseWatches = c.refuseWatches;
        Change(os.files, "/~;/~\\Programs;+~\\Programs\\Old Tool.lnk;/C:\\Bin;+C:\\Bin\\tool.exe");
        const IndexPlaces places{{"C:\\Bin"}, {".exe"}, {kUserMenu, kCommonMenu}};
        ProgramIndex index(os.files, os.registry, os.clock);
        // Refresh as a key does, then Work as the timer does until the
        // build is done; whether Refresh started one.
        auto build = [&] {
            const std::string before = Names(index);
            index.Refresh(places);
            const bool started = index.Building();
            // The last complete build serves until the next is complete.
            EXPECT_EQ(index.Complete() ? Names(index) : before, before);
            for (int step = 0; step < 100; ++step)
                if (index.Work(os.clock.milliseconds + 8, os.clock.milliseconds + 40)) break;
            EXPECT_FALSE(index.Building());
            return started;
        };
        EXPECT_TRUE(build());
        ASSERT_EQ(Names(index), "Old Tool|tool.exe");
        // One more key at once finds nothing new to walk.
        EXPECT_FALSE(build());
        Change(os.files, c.changes);
        os.clock.milliseconds += c.laterMs;
        build();
        EXPECT_EQ(Names(index), c.names);
    }
}

// A folder too big to read within one step's bound is read on from where
// each step ended, never taken as whole when cut.
TEST(ProgramIndexTest, AFolderOfManyShortcutsIsReadWholeAcrossSteps) {
    FakePlatform os;
    Change(os.files, "/~;/~\\Programs");
    for (int i = 0; i < 3000; ++i)
        os.files.AddFile(std::string(kUserMenu) + "\\Programs\\P" + std::to_string(i) + ".lnk", "");
    ProgramIndex index(os.files, os.registry, os.clock);
    index.Refresh({{}, {".exe"}, {kUserMenu}});
    os.clock.step = 20;  // every reading of the clock takes 20 ms: four checks a step
    int steps = 0;
    while (!index.Work(os.clock.milliseconds + 30, os.clock.milliseconds + 100) && steps < 100)
        ++steps;
    EXPECT_GT(steps, 1);
    EXPECT_EQ(index.Entries().size(), 3000u);
}

}  // namespace
}  // namespace vantrel::testing
