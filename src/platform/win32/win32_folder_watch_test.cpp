#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/win32/scratch_folder_testing.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_file_system.h"

namespace vantrel::win32 {
namespace {

class Win32FolderWatchTest : public testing::ScratchFolderTest {
  protected:
    // Whether the watch says changed within ms: the system tells of a change
    // a moment after it, from another thread (under Wine, another process).
    static bool ChangedWithin(FolderWatch& watch, DWORD ms) {
        const ULONGLONG end = GetTickCount64() + ms;
        do {
            if (watch.Changed()) return true;
            Sleep(10);
        } while (GetTickCount64() < end);
        return false;
    }
};

TEST_F(Win32FolderWatchTest, NamesAddedRemovedOrRenamedBelowTheFolderAreChangesWritesAreNot) {
    Folder("menu");
    Folder("menu\\sub");
    Make("menu\\old.lnk", "x");
    Make("menu\\sub\\deep.lnk", "x");
    std::unique_ptr<FolderWatch> watch = fs_.WatchFolder(root_ + "\\menu", true);
    ASSERT_NE(watch, nullptr);
    // Wine hears of changes in a subfolder only once it has been looked
    // into after the watch began, as the program index does.
    EXPECT_EQ(fs_.Find("menu\\sub\\*", FileMask::kFiles).size(), 1u);
    const struct {
        const char* what;
        std::function<bool()> act;
        bool changed;
    } cases[] = {
        {"nothing", [] { return true; }, false},
        {"a folder added", [] { return CreateDirectoryA("menu\\new", nullptr) != 0; }, true},
        {"a file added in the new folder",
         [this] {
             Make("menu\\new\\first.lnk");
             return true;
         },
         true},
        {"a file written to", [this] { return fs_.AppendFile("menu\\old.lnk", "y", nullptr); },
         false},
        {"a file added in a subfolder",
         [this] {
             Make("menu\\sub\\added.lnk");
             return true;
         },
         true},
        {"a file renamed", [] { return MoveFileA("menu\\old.lnk", "menu\\renamed.lnk") != 0; },
         true},
        {"a file removed", [] { return DeleteFileA("menu\\sub\\deep.lnk") != 0; }, true},
        {"a folder beside the watched one", [] { return CreateDirectoryA("beside", nullptr) != 0; },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.act());
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
