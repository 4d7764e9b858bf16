#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/win32/scratch_folder_testing.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"

namespace vantrel::win32 {
namespace {

class Win32FolderWatchTest : public testing::ScratchFolderTest {
  protected:
    // Whether the watch says changed within ms: the system tells of a change
    // a moment after it, from another thread (under Wine, another process).
    static bool ChangedWithin(FolderWatch& watch, DWORD ms) {
        const Win32Clock clock;
        const std::uint64_t end = clock.Milliseconds() + ms;
        do {
            if (watch.Changed()) return true;
            Sleep(10);
        } while (clock.Milliseconds() < end);
        return false;
    }
    // Makes one change below the current folder: "/FOLDER" or "+FILE" made,
    // "*FILE" written to, "-FILE" removed, "OLD>NEW" renamed; "" none.
    bool Act(const std::string& change) {
        const std::string path = change.empty() ? "" : change.substr(1);
        const size_t arrow = change.find('>');
        if (arrow != std::string::npos)
            return MoveFileA(change.substr(0, arrow).c_str(), change.substr(arrow + 1).c_str());
        if (change.starts_with("/")) return CreateDirectoryA(path.c_str(), nullptr) != 0;
        if (change.starts_with("+")) return fs_.WriteFile(path, "", nullptr);
        if (change.starts_with("*")) return fs_.AppendFile(path, "y", nullptr);
        if (change.starts_with("-")) return DeleteFileA(path.c_str()) != 0;
        return change.empty();
    }
};

TEST_F(Win32FolderWatchTest, NamesAddedRemovedOrRenamedBelowTheFolderAreChangesWritesAreNot) {
    for (const char* made : {"/menu", "/menu\\sub", "+menu\\old.lnk", "+menu\\sub\\deep.lnk"})
        ASSERT_TRUE(Act(made)) << made;
    std::unique_ptr<FolderWatch> watch = fs_.WatchFolder(root_ + "\\menu", true);
    ASSERT_NE(watch, nullptr);
    // Wine hears of changes in a subfolder only once it has been looked
    // into after the watch began, as the program index does.
    EXPECT_EQ(fs_.Find("menu\\sub\\*", FileMask::kFiles).size(), 1u);
    // clang-format off
    const struct { const char* what; const char* change; bool changed; } cases[] = {
        {"nothing", "", false},
        {"a folder added", "/menu\\new", true},
        {"a file added in the new folder", "+menu\\new\\first.lnk", true},
        {"a file written to", "*menu\\old.lnk", false},
        {"a file added in a subfolder", "+menu\\sub\\added.lnk", true},
        {"a file renamed", "menu\\old.lnk>menu\\renamed.lnk", true},
        {"a file removed", "-menu\\sub\\deep.lnk", true},
        {"a folder beside the watched one", "/beside", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Act(c.change));
        EXPECT_EQ(ChangedWithin(*watch, c.changed ? 5000 : 300), c.changed);
        // Asking resets: one change is told once.
        EXPECT_FALSE(watch->Changed());
        EXPECT_TRUE(watch->Active());
    }
}

TEST_F(Win32FolderWatchTest, AMissingFolderGivesNoWatchAndOneRemovedEndsItsWatch) {
    EXPECT_EQ(fs_.WatchFolder(root_ + "\\missing", true), nullptr);
    Make("file.txt");
    EXPECT_EQ(fs_.WatchFolder(root_ + "\\file.txt", false), nullptr);

    Folder("gone");
    std::unique_ptr<FolderWatch> watch = fs_.WatchFolder(root_ + "\\gone", false);
    ASSERT_NE(watch, nullptr);
    ASSERT_TRUE(MoveFileA("gone", "moved"));
    EXPECT_TRUE(ChangedWithin(*watch, 5000));
    EXPECT_FALSE(watch->Active());
    EXPECT_FALSE(watch->Changed());
}

}  // namespace
}  // namespace vantrel::win32
