#include "line_editor/program_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "text/case_fold.h"

namespace vantrel::testing {
namespace {

constexpr char kUserMenu[] = "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
constexpr char kCommonMenu[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
const std::string kPrograms = std::string(kUserMenu) + "\\Programs\\";

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

TEST(ProgramIndexTest, TheStartMenuIsWalkedAgainAtOnceWhenItsNamesChangeAndPathWhenOld) {
    const struct {
        const char* what;
        bool refuseWatches;
        std::function<void(FakeFileSystem&)> change;
        std::uint64_t laterMs;
        const char* names;  // after the next Refresh and Work
    } cases[] = {
        {"a shortcut added", false,
         [](FakeFileSystem& f) { f.AddFile(kPrograms + "Visual Studio Code.lnk", ""); }, 1000,
         "Old Tool|tool.exe|Visual Studio Code"},
        {"a shortcut removed", false,
         [](FakeFileSystem& f) { f.DeleteFiles(kPrograms + "Old Tool.lnk", nullptr); }, 1000,
         "tool.exe"},
        {"a shortcut renamed", false,
         [](FakeFileSystem& f) {
             f.Rename(kPrograms + "Old Tool.lnk", kPrograms + "New Tool.lnk", nullptr);
         },
         1000, "New Tool|tool.exe"},
        {"a folder added with a shortcut in it", false,
         [](FakeFileSystem& f) {
             f.MakeFolder(kPrograms + "Games", nullptr);
             f.AddFile(kPrograms + "Games\\Zeta.lnk", "");
         },
         1000, "Old Tool|tool.exe|Zeta"},
        {"the menu renamed away", false,
         [](FakeFileSystem& f) { f.Rename(kUserMenu, "C:\\Elsewhere", nullptr); }, 1000,
         "tool.exe"},
        {"a menu that was missing appears", false,
         [](FakeFileSystem& f) {
             f.AddFolder(kCommonMenu);
             f.AddFile(std::string(kCommonMenu) + "\\Shared.lnk", "");
         },
         ProgramIndex::kUnwatchedMs, "Old Tool|Shared|tool.exe"},
        {"a program on PATH, before the index is old", false,
         [](FakeFileSystem& f) { f.AddFile("C:\\Bin\\new.exe", ""); }, 1000, "Old Tool|tool.exe"},
        {"a program on PATH with a shortcut", false,
         [](FakeFileSystem& f) {
             f.AddFile("C:\\Bin\\new.exe", "");
             f.AddFile(kPrograms + "Zeta.lnk", "");
         },
         1000, "Old Tool|tool.exe|Zeta"},
        {"a program on PATH once the index is old", false,
         [](FakeFileSystem& f) { f.AddFile("C:\\Bin\\new.exe", ""); }, ProgramIndex::kFreshMs,
         "new.exe|Old Tool|tool.exe"},
        {"no watch: not walked again at every key", true,
         [](FakeFileSystem& f) { f.AddFile(kPrograms + "Zeta.lnk", ""); }, 1000,
         "Old Tool|tool.exe"},
        {"no watch: walked again after a few seconds", true,
         [](FakeFileSystem& f) { f.AddFile(kPrograms + "Zeta.lnk", ""); },
         ProgramIndex::kUnwatchedMs, "Old Tool|tool.exe|Zeta"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform os;
        os.files.refuseWatches = c.refuseWatches;
        os.files.AddFolder(kUserMenu);
        os.files.AddFolder(kPrograms);
        os.files.AddFile(kPrograms + "Old Tool.lnk", "");
        os.files.AddFolder("C:\\Bin");
        os.files.AddFile("C:\\Bin\\tool.exe", "");
        const IndexPlaces places{{"C:\\Bin"}, {".exe"}, {kUserMenu, kCommonMenu}};
        ProgramIndex index(os.files, os.registry, os.clock);
        // Refresh as a key does, then Work as the timer does until the
        // build is done; whether Refresh started one.
        auto build = [&] {
            const std::string before = Names(index);
            index.Refresh(places);
            const bool started = index.Building();
            // The last complete build serves until the next is complete.
            if (index.Complete()) {
                EXPECT_EQ(Names(index), before);
            }
            for (int step = 0;
                 step < 100 && !index.Work(os.clock.milliseconds + 8, os.clock.milliseconds + 40);
                 ++step) {
            }
            EXPECT_FALSE(index.Building());
            return started;
        };
        EXPECT_TRUE(build());
        ASSERT_EQ(Names(index), "Old Tool|tool.exe");
        // One more key at once finds nothing new to walk.
        EXPECT_FALSE(build());
        c.change(os.files);
        os.clock.milliseconds += c.laterMs;
        build();
        EXPECT_EQ(Names(index), c.names);
    }
}

}  // namespace
}  // namespace vantrel::testing
