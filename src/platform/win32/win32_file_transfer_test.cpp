#include <gtest/gtest.h>

#include "platform/win32/scratch_folder_testing.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_file_system.h"

namespace vantrel::win32 {
namespace {

using Win32FileTransferTest = testing::ScratchFolderTest;
using testing::Names;

TEST_F(Win32FileTransferTest, DeleteFilesTakesEveryMatchButFolders) {
    Make("a.tmp");
    Make("hidden.tmp", "", FILE_ATTRIBUTE_HIDDEN);
    Make("keep.txt");
    Folder("dir.tmp");
    std::string err;
    ASSERT_TRUE(fs_.DeleteFiles("*.tmp", &err)) << err;
    EXPECT_EQ(Tree(), (Names{"dir.tmp\\", "keep.txt="}));
    EXPECT_FALSE(fs_.DeleteFiles("*.tmp", &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));
    // A read-only file is reported and kept; the others still go.
    Make("x1.log", "", FILE_ATTRIBUTE_READONLY);
    Make("x2.log");
    EXPECT_FALSE(fs_.DeleteFiles("x?.log", &err));
    EXPECT_EQ(err, ErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Tree(), (Names{"dir.tmp\\", "keep.txt=", "x1.log="}));
}

TEST_F(Win32FileTransferTest, FilesGoToANameOrIntoAFolder) {
    Make("a.txt", "A");
    Make("b.txt", "B");
    Folder("into");
    Make("into\\a.txt", "old");
    Folder("moved");
    std::string err;
    ASSERT_TRUE(fs_.CopyFile("a.txt", "c.txt", &err)) << err;
    ASSERT_TRUE(fs_.CopyFile("*.txt", "into", &err)) << err;  // overwriting
    ASSERT_TRUE(fs_.MoveFile("a.txt", "moved\\", &err)) << err;
    ASSERT_TRUE(fs_.MoveFile("b*", "moved", &err)) << err;
    ASSERT_TRUE(fs_.MoveFile("c.txt", "e.txt", &err)) << err;
    // Rename's new name is taken from the current folder, not the old one's.
    ASSERT_TRUE(fs_.Rename("into\\c.txt", "d.txt", &err)) << err;
    ASSERT_TRUE(fs_.Rename("moved", "kept", &err)) << err;
    EXPECT_EQ(Tree(), (Names{"d.txt=A", "e.txt=A", "into\\", "into\\a.txt=A", "into\\b.txt=B",
                             "kept\\", "kept\\a.txt=A", "kept\\b.txt=B"}));
}

TEST_F(Win32FileTransferTest, ABigCopyAsksToGoOnAndAStopLeavesNoPartialFile) {
    Make("big.bin", std::string(32 << 20, 'b'));
    for (int i = 0; i < 600; ++i) Make("many" + std::to_string(i) + ".txt");
    int asked = 0;
    fs_.SetKeepGoing([&] { return ++asked > 0; });
    std::string err;
    ASSERT_TRUE(fs_.CopyFile("big.bin", "copy.bin", &err)) << err;
    EXPECT_GT(asked, 2);  // within the copy, not only around it
    asked = 0;
    EXPECT_EQ(fs_.Find("many*.txt", FileMask::kFiles).size(), 600u);
    EXPECT_GE(asked, 2);
    fs_.SetKeepGoing([&] { return false; });
    EXPECT_FALSE(fs_.CopyFile("big.bin", "stopped.bin", &err));
    EXPECT_EQ(err, ErrorText(ERROR_REQUEST_ABORTED));
    EXPECT_EQ(err.rfind("Error ", 0), std::string::npos) << err;  // the system has a text
    EXPECT_FALSE(fs_.Exists("stopped.bin", FileMask::kFiles));
    EXPECT_LT(fs_.Find("many*.txt", FileMask::kFiles).size(), 600u);
    fs_.SetKeepGoing(nullptr);
}

TEST_F(Win32FileTransferTest, FoldersMergeOrGoIntoAFolder) {
    Folder("src");
    Folder("src\\deep");
    Make("src\\one.txt", "1");
    Make("src\\deep\\two.txt", "2");
    Folder("dst");
    Make("dst\\one.txt", "old");
    Make("dst\\mine.txt", "m");
    Folder("log1");
    Folder("log2");
    Make("log1\\a.txt", "a");
    std::string err;
    ASSERT_TRUE(fs_.CopyFolder("src", "dst", &err)) << err;  // merged, overwriting
    ASSERT_TRUE(fs_.MoveFolder("src", "dst\\", &err)) << err;
    // Each folder a pattern finds goes into the destination.
    ASSERT_TRUE(fs_.CopyFolder("log*", "dst", &err)) << err;
    ASSERT_TRUE(fs_.MoveFolder("log?", "dst\\src", &err)) << err;
    EXPECT_EQ(fs_.Find("*", FileMask::kFilesAndFolders).size(), 1u);  // "dst" alone
    EXPECT_EQ(Tree("dst"),
              (Names{"deep\\", "deep\\two.txt=2", "log1\\", "log1\\a.txt=a", "log2\\", "mine.txt=m",
                     "one.txt=1", "src\\", "src\\deep\\", "src\\deep\\two.txt=2", "src\\log1\\",
                     "src\\log1\\a.txt=a", "src\\log2\\", "src\\one.txt=1"}));
}

// What each refusal says, and that it leaves everything as it was.
TEST_F(Win32FileTransferTest, RefusalsChangeNothing) {
    Make("a.txt", "A");
    Make("b.txt", "B");
    Folder("src");
    Folder("src\\deep");
    Folder("taken");
    using Transfer = bool (FileSystem::*)(const std::string&, const std::string&, std::string*);
    struct Case {
        Transfer transfer;
        std::string source, destination, err;  // "" for the system's choice
    } cases[] = {
        {&FileSystem::CopyFile, "*.doc", "src", ErrorText(ERROR_FILE_NOT_FOUND)},
        {&FileSystem::CopyFile, "a.txt", "src", ""},  // a folder's name is no file name
        {&FileSystem::MoveFile, "a.txt", "b.txt", ErrorText(ERROR_ALREADY_EXISTS)},
        {&FileSystem::MoveFile, "*.doc", "src", ErrorText(ERROR_FILE_NOT_FOUND)},
        {&FileSystem::CopyFolder, "missing", "x", ErrorText(ERROR_PATH_NOT_FOUND)},
        {&FileSystem::CopyFolder, "src", "src\\deep\\again", "Cannot copy a folder into itself"},
        {&FileSystem::CopyFolder, "SRC", root_ + "\\src", "Cannot copy a folder into itself"},
        {&FileSystem::MoveFolder, "src", "taken", ErrorText(ERROR_ALREADY_EXISTS)},
        {&FileSystem::MoveFolder, "*.doc", "src", ErrorText(ERROR_PATH_NOT_FOUND)},
        {&FileSystem::Rename, "none", "x", ErrorText(ERROR_FILE_NOT_FOUND)},
        {&FileSystem::Rename, "a.txt", "src", ""},
    };
    for (const Case& c : cases) {
        std::string err;
        EXPECT_FALSE((fs_.*c.transfer)(c.source, c.destination, &err)) << c.source;
        EXPECT_FALSE(err.empty()) << c.source;
        EXPECT_EQ(err, c.err.empty() ? err : c.err) << c.source;
    }
    EXPECT_EQ(Tree(), (Names{"a.txt=A", "b.txt=B", "src\\", "src\\deep\\", "taken\\"}));
}

}  // namespace
}  // namespace vantrel::win32
