#include <gtest/gtest.h>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/scratch_folder_testing.h"
#include "platform/win32/win32_file_system.h"

namespace vantrel::win32 {
namespace {

// Each test works in a fresh folder under the temporary folder, made the
// current folder so that relative names work as they do for the commands.
class Win32FileTransferTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = testing::MakeScratchFolder("ft");
        ASSERT_FALSE(root_.empty()) << "no scratch folder";
        saved_ = fs_.CurrentDirectory();
        std::string err;
        ASSERT_TRUE(fs_.SetCurrentDirectory(root_, &err)) << err;
    }
    void TearDown() override {
        SetCurrentDirectoryA(saved_.c_str());
        testing::RemoveAll(root_);
    }


    void Make(const std::string& name, const std::string& contents) {
        std::string err;
        ASSERT_TRUE(fs_.WriteFile(name, contents, &err)) << name << ": " << err;
    }
    void Folder(const std::string& name) {
        std::string err;
        ASSERT_TRUE(fs_.MakeFolder(name, &err)) << name << ": " << err;
    }
    std::string Read(const std::string& name) {
        std::string contents, err;
        return fs_.ReadFile(name, &contents, &err) ? contents : "<" + err + ">";
    }
    // The names in a folder, in the file system's order.
    std::vector<std::string> Listing(const std::string& pattern) {
        std::vector<std::string> names;
        for (const FileEntry& e : fs_.Find(pattern, FileMask::kFilesAndFolders)) {
            names.push_back(e.name);
        }
        return names;
    }

    Win32FileSystem fs_;
    std::string root_, saved_;
};

using Names = std::vector<std::string>;

TEST_F(Win32FileTransferTest, FindGivesSizesTimesAndKinds) {
    Make("a.txt", "hello");
    Folder("sub");
    Make("zero.dat", "");
    // A sparse file past 4 GiB: its size needs the high 32 bits.
    {
        HANDLE big = CreateFileA("big.img", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(big, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = 5LL * 1024 * 1024 * 1024 + 7;
        ASSERT_TRUE(SetFilePointerEx(big, size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(big));
        // A known local time: 20 November 2026, 12:00:01.
        SYSTEMTIME st{2026, 11, 5, 20, 12, 0, 1, 0};
        FILETIME local, utc;
        ASSERT_TRUE(SystemTimeToFileTime(&st, &local));
        ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
        ASSERT_TRUE(SetFileTime(big, nullptr, nullptr, &utc));
        CloseHandle(big);
    }
    Make("boot.sys", "x");
    SetFileAttributesA("boot.sys", FILE_ATTRIBUTE_SYSTEM);

    std::vector<FileEntry> all = fs_.Find("*.*", FileMask::kFilesAndFolders);
    ASSERT_EQ(all.size(), 4u);
    for (const FileEntry& e : all) {
        if (e.name == "a.txt") {
            EXPECT_EQ(e.size, 5);
            EXPECT_FALSE(e.folder);
        } else if (e.name == "sub") {
            EXPECT_TRUE(e.folder);
            EXPECT_EQ(e.size, 0);
        } else if (e.name == "zero.dat") {
            EXPECT_EQ(e.size, 0);
        } else {
            ASSERT_EQ(e.name, "big.img");
            EXPECT_EQ(e.size, 5LL * 1024 * 1024 * 1024 + 7);
            EXPECT_EQ(e.modified.year, 2026);
            EXPECT_EQ(e.modified.month, 11);
            EXPECT_EQ(e.modified.day, 20);
            EXPECT_EQ(e.modified.hour, 12);
            EXPECT_EQ(e.modified.minute, 0);
            EXPECT_EQ(e.modified.second, 1);
        }
    }
    EXPECT_EQ(fs_.Find("*.*", FileMask::kFiles).size(), 3u);
    EXPECT_TRUE(fs_.Find("", FileMask::kFilesAndFolders).empty());
    EXPECT_EQ(Listing("sub\\"), Names{});
    EXPECT_TRUE(fs_.IsFolder("sub"));
    EXPECT_TRUE(fs_.IsFolder(root_ + "\\sub\\"));
    EXPECT_FALSE(fs_.IsFolder("a.txt"));
}

TEST_F(Win32FileTransferTest, ReadFileStartStopsAtTheLimit) {
    Make("ten.txt", "0123456789");
    std::string text, err;
    bool more = false;
    ASSERT_TRUE(fs_.ReadFileStart("ten.txt", 4, &text, &more, &err)) << err;
    EXPECT_EQ(text, "0123");
    EXPECT_TRUE(more);
    ASSERT_TRUE(fs_.ReadFileStart("ten.txt", 10, &text, &more, &err)) << err;
    EXPECT_EQ(text, "0123456789");
    EXPECT_FALSE(more);
    EXPECT_FALSE(fs_.ReadFileStart("none.txt", 10, &text, &more, &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));
}

TEST_F(Win32FileTransferTest, WriteFileCreatesAndEmpties) {
    Make("w.txt", "long old text");
    Make("w.txt", "new");
    EXPECT_EQ(Read("w.txt"), "new");
    std::string err;
    EXPECT_FALSE(fs_.WriteFile("nowhere\\w.txt", "x", &err));
    EXPECT_EQ(err, ErrorText(ERROR_PATH_NOT_FOUND));
}

TEST_F(Win32FileTransferTest, ReplaceFileSwapsInTheNewTextAndLeavesNothingBehind) {
    Make("Autoexec.dcb", "set a=1\r\n");
    std::string err;
    ASSERT_TRUE(fs_.ReplaceFile("Autoexec.dcb", "dock bottom\r\nset a=1\r\n", &err)) << err;
    EXPECT_EQ(Read("Autoexec.dcb"), "dock bottom\r\nset a=1\r\n");
    EXPECT_EQ(Listing("*"), Names{"Autoexec.dcb"});
    // A file that did not exist is made.
    ASSERT_TRUE(fs_.ReplaceFile(root_ + "\\fresh.dcb", "x\r\n", &err)) << err;
    EXPECT_EQ(Read("fresh.dcb"), "x\r\n");
    // A hidden file stays hidden.
    SetFileAttributesA("Autoexec.dcb", FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(fs_.ReplaceFile("Autoexec.dcb", "hidden\r\n", &err)) << err;
    EXPECT_EQ(Read("Autoexec.dcb"), "hidden\r\n");
    EXPECT_TRUE(GetFileAttributesA("Autoexec.dcb") & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(Win32FileTransferTest, ReplaceFileNeverLosesTheOldText) {
    Make("Autoexec.dcb", "set a=1\r\n");
    SetFileAttributesA("Autoexec.dcb", FILE_ATTRIBUTE_READONLY);
    std::string err;
    EXPECT_FALSE(fs_.ReplaceFile("Autoexec.dcb", "dock bottom\r\n", &err));
    EXPECT_EQ(err, ErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Read("Autoexec.dcb"), "set a=1\r\n");
    EXPECT_EQ(Listing("*"), Names{"Autoexec.dcb"});

    err.clear();
    EXPECT_FALSE(fs_.ReplaceFile("gone\\Autoexec.dcb", "x", &err));
    EXPECT_FALSE(err.empty());
    EXPECT_FALSE(fs_.IsFolder("gone"));

    Folder("dir.dcb");
    EXPECT_FALSE(fs_.ReplaceFile("dir.dcb", "x", &err));
    EXPECT_TRUE(fs_.IsFolder("dir.dcb"));
}

TEST_F(Win32FileTransferTest, DeleteFilesTakesEveryMatchButFolders) {
    Make("a.tmp", "");
    Make("b.tmp", "");
    Make("keep.txt", "");
    Make("hidden.tmp", "");
    SetFileAttributesA("hidden.tmp", FILE_ATTRIBUTE_HIDDEN);
    Folder("dir.tmp");
    std::string err;
    ASSERT_TRUE(fs_.DeleteFiles("*.tmp", &err)) << err;
    EXPECT_TRUE(fs_.IsFolder("dir.tmp"));
    EXPECT_TRUE(fs_.Exists("keep.txt", FileMask::kFiles));
    EXPECT_FALSE(fs_.Exists("*.tmp", FileMask::kFiles));
    EXPECT_FALSE(fs_.DeleteFiles("*.tmp", &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));

    // A read-only file is reported and kept; the others still go.
    Make("x1.log", "");
    Make("x2.log", "");
    SetFileAttributesA("x1.log", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(fs_.DeleteFiles("x?.log", &err));
    EXPECT_EQ(err, ErrorText(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(fs_.Exists("x1.log", FileMask::kFiles));
    EXPECT_FALSE(fs_.Exists("x2.log", FileMask::kFiles));
}

TEST_F(Win32FileTransferTest, CopyFileOneToANameOrManyIntoAFolder) {
    Make("a.txt", "A");
    Make("b.txt", "B");
    Folder("into");
    Make("into\\a.txt", "old");
    std::string err;
    ASSERT_TRUE(fs_.CopyFile("a.txt", "c.txt", &err)) << err;
    EXPECT_EQ(Read("c.txt"), "A");
    ASSERT_TRUE(fs_.CopyFile("*.txt", "into", &err)) << err;
    EXPECT_EQ(Read("into\\a.txt"), "A");
    EXPECT_EQ(Read("into\\c.txt"), "A");
    ASSERT_TRUE(fs_.CopyFile("b.txt", "into\\", &err)) << err;
    EXPECT_EQ(Read("into\\b.txt"), "B");
    EXPECT_FALSE(fs_.CopyFile("*.doc", "into", &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));
    // One file onto a folder's name is refused by the system.
    EXPECT_FALSE(fs_.CopyFile("a.txt", "into", &err));
    EXPECT_FALSE(err.empty());
}

TEST_F(Win32FileTransferTest, MoveFileNeverReplaces) {
    Make("a.txt", "A");
    Make("b.txt", "B");
    Folder("into");
    std::string err;
    EXPECT_FALSE(fs_.MoveFile("a.txt", "b.txt", &err));
    EXPECT_EQ(err, ErrorText(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(Read("b.txt"), "B");
    ASSERT_TRUE(fs_.MoveFile("a.txt", "into\\a.txt", &err)) << err;
    EXPECT_FALSE(fs_.Exists("a.txt", FileMask::kFiles));
    ASSERT_TRUE(fs_.MoveFile("b*", "into", &err)) << err;
    EXPECT_EQ(Read("into\\b.txt"), "B");
}

TEST_F(Win32FileTransferTest, CopyFolderMergesAndRefusesItself) {
    Folder("src");
    Folder("src\\deep");
    Make("src\\one.txt", "1");
    Make("src\\deep\\two.txt", "2");
    Folder("dst");
    Make("dst\\one.txt", "old");
    Make("dst\\mine.txt", "m");
    std::string err;
    ASSERT_TRUE(fs_.CopyFolder("src", "dst", &err)) << err;
    EXPECT_EQ(Read("dst\\one.txt"), "1");
    EXPECT_EQ(Read("dst\\deep\\two.txt"), "2");
    EXPECT_EQ(Read("dst\\mine.txt"), "m");
    ASSERT_TRUE(fs_.CopyFolder("src", "dst\\", &err)) << err;
    EXPECT_EQ(Read("dst\\src\\deep\\two.txt"), "2");

    EXPECT_FALSE(fs_.CopyFolder("src", "src\\deep\\again", &err));
    EXPECT_EQ(err, "Cannot copy a folder into itself");
    EXPECT_FALSE(fs_.IsFolder("src\\deep\\again"));
    EXPECT_FALSE(fs_.CopyFolder("SRC", root_ + "\\src", &err));
    EXPECT_FALSE(fs_.CopyFolder("missing", "x", &err));
    EXPECT_EQ(err, ErrorText(ERROR_PATH_NOT_FOUND));
}

TEST_F(Win32FileTransferTest, CopyAndMoveFoldersByPattern) {
    Folder("log1");
    Folder("log2");
    Make("log1\\a.txt", "a");
    Folder("all");
    std::string err;
    ASSERT_TRUE(fs_.CopyFolder("log*", "all", &err)) << err;
    EXPECT_EQ(Read("all\\log1\\a.txt"), "a");
    EXPECT_TRUE(fs_.IsFolder("all\\log2"));
    Folder("moved");
    ASSERT_TRUE(fs_.MoveFolder("log?", "moved", &err)) << err;
    EXPECT_TRUE(fs_.IsFolder("moved\\log1"));
    EXPECT_FALSE(fs_.IsFolder("log1"));
}

TEST_F(Win32FileTransferTest, MoveFolderAndRename) {
    Folder("a");
    Make("a\\f.txt", "f");
    Folder("taken");
    std::string err;
    EXPECT_FALSE(fs_.MoveFolder("a", "taken", &err));
    EXPECT_EQ(err, ErrorText(ERROR_ALREADY_EXISTS));
    ASSERT_TRUE(fs_.MoveFolder("a", "taken\\", &err)) << err;
    EXPECT_EQ(Read("taken\\a\\f.txt"), "f");

    ASSERT_TRUE(fs_.Rename("taken\\a\\f.txt", "g.txt", &err)) << err;
    EXPECT_EQ(Read("g.txt"), "f");  // the new name is relative to the current folder
    ASSERT_TRUE(fs_.Rename("taken", "kept", &err)) << err;
    EXPECT_TRUE(fs_.IsFolder("kept\\a"));
    EXPECT_FALSE(fs_.Rename("g.txt", "kept", &err));
    EXPECT_FALSE(fs_.Rename("none", "x", &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));
}

TEST_F(Win32FileTransferTest, RemoveFolderOnlyWhenEmpty) {
    Folder("full");
    Make("full\\x", "");
    std::string err;
    EXPECT_FALSE(fs_.RemoveFolder("full", &err));
    EXPECT_EQ(err, ErrorText(ERROR_DIR_NOT_EMPTY));
    ASSERT_TRUE(fs_.DeleteFiles("full\\x", &err)) << err;
    ASSERT_TRUE(fs_.RemoveFolder("full", &err)) << err;
    EXPECT_FALSE(fs_.IsFolder("full"));
}

}  // namespace
}  // namespace vantrel::win32
