#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/scratch_folder_testing.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"

namespace vantrel::win32 {
namespace {

// Each test works in a fresh folder under the temporary folder and leaves
// the process's current folder as it found it.
class Win32FileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = testing::MakeScratchFolder("fs");
        ASSERT_FALSE(root_.empty()) << "no scratch folder";
        saved_ = fs_.CurrentDirectory();
    }
    void TearDown() override {
        SetCurrentDirectoryA(saved_.c_str());
        testing::RemoveAll(root_);
    }


    std::string Path(const std::string& name) const { return root_ + "\\" + name; }

    void MakeFile(const std::string& name, DWORD attributes) {
        std::string err;
        ASSERT_TRUE(fs_.AppendFile(Path(name), "x", &err)) << err;
        ASSERT_TRUE(SetFileAttributesA(Path(name).c_str(), attributes));
    }

    Win32FileSystem fs_;
    std::string root_, saved_;
};

TEST_F(Win32FileSystemTest, LookupMasks) {
    MakeFile("plain.txt", FILE_ATTRIBUTE_NORMAL);
    MakeFile("readonly.txt", FILE_ATTRIBUTE_READONLY);
    MakeFile("hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    MakeFile("system.sys", FILE_ATTRIBUTE_SYSTEM);
    MakeFile("hidsys.sys", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(CreateDirectoryA(Path("folder").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Path("hiddenfolder").c_str(), nullptr));
    SetFileAttributesA(Path("hiddenfolder").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(CreateDirectoryA(Path("empty").c_str(), nullptr));

    struct Case {
        std::string name;
        bool files, filesAndFolders;
    } cases[] = {
        {"plain.txt", true, true},     {"PLAIN.TXT", true, true},    {"readonly.txt", true, true},
        {"hidden.txt", true, true},    {"system.sys", false, false}, {"hidsys.sys", false, false},
        {"*.sys", false, false},       {"folder", false, true},      {"hiddenfolder", false, true},
        {"missing.txt", false, false}, {"*.txt", true, true},        {"p?ain.*", true, true},
        {"fold*", false, true},        {"empty\\", false, true},  // looks inside: only "." and ".."
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fs_.Exists(Path(c.name), FileMask::kFiles), c.files) << c.name;
        EXPECT_EQ(fs_.Exists(Path(c.name), FileMask::kFilesAndFolders), c.filesAndFolders)
            << c.name;
    }
    EXPECT_FALSE(fs_.Exists("", FileMask::kFilesAndFolders));
}

TEST_F(Win32FileSystemTest, AppendCreatesThenAppendsAndReadFileReadsBack) {
    std::string err, contents;
    ASSERT_TRUE(fs_.AppendFile(Path("a.txt"), "one\r\n", &err)) << err;
    ASSERT_TRUE(fs_.AppendFile(Path("a.txt"), "", &err)) << err;
    ASSERT_TRUE(fs_.AppendFile(Path("a.txt"), std::string("tw\0o\xAC", 5), &err)) << err;
    ASSERT_TRUE(fs_.ReadFile(Path("a.txt"), &contents, &err)) << err;
    EXPECT_EQ(contents, std::string("one\r\ntw\0o\xAC", 10));
}

TEST_F(Win32FileSystemTest, AppendingNothingLeavesAnEmptyFile) {
    std::string err, contents = "stale";
    ASSERT_TRUE(fs_.AppendFile(Path("empty.dcb"), "", &err)) << err;
    ASSERT_TRUE(fs_.ReadFile(Path("empty.dcb"), &contents, &err)) << err;
    EXPECT_EQ(contents, "");
}

TEST_F(Win32FileSystemTest, FailuresGiveTheSystemsDescriptionOnOneLine) {
    std::string err, contents;
    EXPECT_FALSE(fs_.ReadFile(Path("missing.txt"), &contents, &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(err.find_first_of("\r\n"), std::string::npos);

    err.clear();
    EXPECT_FALSE(fs_.AppendFile(Path("no\\such\\folder.txt"), "x", &err));
    EXPECT_EQ(err, ErrorText(ERROR_PATH_NOT_FOUND));
}

TEST_F(Win32FileSystemTest, MakeFolderFailsWhenItExists) {
    std::string err;
    EXPECT_TRUE(fs_.MakeFolder(Path("new"), &err)) << err;
    EXPECT_TRUE(fs_.Exists(Path("new"), FileMask::kFilesAndFolders));
    EXPECT_FALSE(fs_.MakeFolder(Path("new"), &err));
    EXPECT_EQ(err, ErrorText(ERROR_ALREADY_EXISTS));
}

TEST_F(Win32FileSystemTest, SetCurrentDirectoryAndChangeFolderOnTheSameDrive) {
    std::string err;
    ASSERT_TRUE(fs_.MakeFolder(Path("sub"), &err));
    ASSERT_TRUE(fs_.SetCurrentDirectory(root_, &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), root_);
    ASSERT_TRUE(fs_.ChangeFolder("sub", &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), Path("sub"));
    ASSERT_TRUE(fs_.ChangeFolder("..", &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), root_);

    EXPECT_FALSE(fs_.ChangeFolder("missing", &err));
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(fs_.CurrentDirectory(), root_);
    EXPECT_FALSE(fs_.SetCurrentDirectory(Path("missing"), &err));
    EXPECT_EQ(fs_.CurrentDirectory(), root_);
}

TEST_F(Win32FileSystemTest, ChangeFolderOnAnotherDriveKeepsTheCurrentDrive) {
    // Wine maps Z: to the Unix root; the temporary folder is on C:.
    if (GetDriveTypeA("Z:\\") == DRIVE_NO_ROOT_DIR || toupper(root_[0]) == 'Z') {
        GTEST_SKIP() << "needs a drive Z: besides the temporary folder's";
    }
    std::string err;
    ASSERT_TRUE(fs_.SetCurrentDirectory(root_, &err)) << err;
    ASSERT_TRUE(fs_.ChangeFolder("Z:\\tmp", &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), root_);

    EXPECT_FALSE(fs_.ChangeFolder("Z:\\no_such_folder_here", &err));
    EXPECT_FALSE(err.empty());

    ASSERT_TRUE(fs_.ChangeDrive("z:", &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), "Z:\\tmp");
    // Back on the first drive at the folder it was left at.
    ASSERT_TRUE(fs_.ChangeDrive(root_.substr(0, 2), &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), root_);
}

TEST_F(Win32FileSystemTest, ChangeDriveToAMissingDriveFails) {
    char letter = 0;
    for (char c = 'Y'; c > 'D'; --c) {
        if (GetDriveTypeA((std::string(1, c) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR) {
            letter = c;
            break;
        }
    }
    if (!letter) GTEST_SKIP() << "every drive letter is in use";
    std::string err, before = fs_.CurrentDirectory();
    EXPECT_FALSE(fs_.ChangeDrive(std::string(1, letter) + ":", &err));
    EXPECT_EQ(fs_.CurrentDirectory(), before);
}

TEST_F(Win32FileSystemTest, ProgramFolderHoldsTheRunningProgram) {
    std::string folder = fs_.ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_TRUE(fs_.Exists(folder + "\\vantrel_tests.exe", FileMask::kFiles)) << folder;
}

TEST_F(Win32FileSystemTest, FindListsMatchesWithSizesAndDates) {
    std::string err;
    ASSERT_TRUE(fs_.WriteFile(Path("a.txt"), "12345", &err)) << err;
    ASSERT_TRUE(fs_.WriteFile(Path("b.log"), "", &err)) << err;
    ASSERT_TRUE(fs_.MakeFolder(Path("sub"), &err)) << err;
    MakeFile("sys.txt", FILE_ATTRIBUTE_SYSTEM);

    std::vector<FileEntry> files = fs_.Find(Path("*.txt"), FileMask::kFiles);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, "a.txt");
    EXPECT_FALSE(files[0].folder);
    EXPECT_EQ(files[0].size, 5);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(files[0].modified.year, now.wYear);

    std::vector<FileEntry> all = fs_.Find(Path("*"), FileMask::kFilesAndFolders);
    std::vector<std::string> names;
    for (const FileEntry& e : all) names.push_back(e.name + (e.folder ? "\\" : ""));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.log", "sub\\"}));
    EXPECT_EQ(fs_.Find(root_ + "\\", FileMask::kFilesAndFolders).size(), 3u);
    EXPECT_TRUE(fs_.Find(Path("none.*"), FileMask::kFilesAndFolders).empty());

    EXPECT_TRUE(fs_.IsFolder(Path("sub")));
    EXPECT_FALSE(fs_.IsFolder(Path("a.txt")));
    EXPECT_FALSE(fs_.IsFolder(Path("missing")));
}

TEST_F(Win32FileSystemTest, WriteReplacesAndReadFileStartStopsAtTheLimit) {
    std::string err, contents;
    bool more = false;
    ASSERT_TRUE(fs_.WriteFile(Path("w.txt"), "long old text", &err)) << err;
    ASSERT_TRUE(fs_.WriteFile(Path("w.txt"), "new", &err)) << err;
    ASSERT_TRUE(fs_.ReadFile(Path("w.txt"), &contents, &err));
    EXPECT_EQ(contents, "new");

    ASSERT_TRUE(fs_.ReadFileStart(Path("w.txt"), 2, &contents, &more, &err)) << err;
    EXPECT_EQ(contents, "ne");
    EXPECT_TRUE(more);
    ASSERT_TRUE(fs_.ReadFileStart(Path("w.txt"), 3, &contents, &more, &err)) << err;
    EXPECT_EQ(contents, "new");
    EXPECT_FALSE(more);
    EXPECT_FALSE(fs_.ReadFileStart(Path("none.txt"), 3, &contents, &more, &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));
}

TEST_F(Win32FileSystemTest, ReplaceFileSwapsContentsAndRefusesReadOnlyFiles) {
    std::string err, contents;
    ASSERT_TRUE(fs_.WriteFile(Path("r.dcb"), "old", &err));
    ASSERT_TRUE(fs_.ReplaceFile(Path("r.dcb"), "fresh", &err)) << err;
    ASSERT_TRUE(fs_.ReadFile(Path("r.dcb"), &contents, &err));
    EXPECT_EQ(contents, "fresh");
    EXPECT_FALSE(fs_.Exists(Path("r.dcb.new"), FileMask::kFiles));
    ASSERT_TRUE(fs_.ReplaceFile(Path("created.dcb"), "x", &err)) << err;

    SetFileAttributesA(Path("r.dcb").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(fs_.ReplaceFile(Path("r.dcb"), "lost", &err));
    EXPECT_EQ(err, ErrorText(ERROR_ACCESS_DENIED));
    ASSERT_TRUE(fs_.ReadFile(Path("r.dcb"), &contents, &err));
    EXPECT_EQ(contents, "fresh");
}

TEST_F(Win32FileSystemTest, DeleteFilesTakesEveryMatchButNoFolder) {
    std::string err;
    for (const char* name : {"x1.tmp", "x2.tmp", "keep.txt"}) fs_.WriteFile(Path(name), "", &err);
    ASSERT_TRUE(fs_.MakeFolder(Path("dir.tmp"), &err));
    ASSERT_TRUE(fs_.DeleteFiles(Path("*.tmp"), &err)) << err;
    EXPECT_FALSE(fs_.Exists(Path("*.tmp"), FileMask::kFiles));
    EXPECT_TRUE(fs_.IsFolder(Path("dir.tmp")));
    EXPECT_TRUE(fs_.Exists(Path("keep.txt"), FileMask::kFiles));
    EXPECT_FALSE(fs_.DeleteFiles(Path("*.tmp"), &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));
}

TEST_F(Win32FileSystemTest, RemoveFolderOnlyWhenEmpty) {
    std::string err;
    ASSERT_TRUE(fs_.MakeFolder(Path("full"), &err));
    fs_.WriteFile(Path("full\\f"), "", &err);
    EXPECT_FALSE(fs_.RemoveFolder(Path("full"), &err));
    EXPECT_FALSE(err.empty());
    fs_.DeleteFiles(Path("full\\f"), &err);
    EXPECT_TRUE(fs_.RemoveFolder(Path("full"), &err)) << err;
    EXPECT_FALSE(fs_.IsFolder(Path("full")));
}

TEST_F(Win32FileSystemTest, CopyAndMoveFiles) {
    std::string err, contents;
    ASSERT_TRUE(fs_.MakeFolder(Path("to"), &err));
    fs_.WriteFile(Path("one.txt"), "1", &err);
    fs_.WriteFile(Path("two.txt"), "2", &err);

    // A wildcard source fills the destination folder.
    ASSERT_TRUE(fs_.CopyFile(Path("*.txt"), Path("to"), &err)) << err;
    EXPECT_TRUE(fs_.Exists(Path("to\\one.txt"), FileMask::kFiles));
    EXPECT_TRUE(fs_.Exists(Path("to\\two.txt"), FileMask::kFiles));
    // One file to a full new name, overwriting.
    ASSERT_TRUE(fs_.CopyFile(Path("one.txt"), Path("to\\two.txt"), &err)) << err;
    fs_.ReadFile(Path("to\\two.txt"), &contents, &err);
    EXPECT_EQ(contents, "1");
    // A folder named without its "\\" is no file name to copy to.
    EXPECT_FALSE(fs_.CopyFile(Path("one.txt"), Path("to"), &err));
    EXPECT_FALSE(fs_.CopyFile(Path("*.none"), Path("to\\"), &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));

    ASSERT_TRUE(fs_.MoveFile(Path("one.txt"), Path("moved.txt"), &err)) << err;
    EXPECT_FALSE(fs_.Exists(Path("one.txt"), FileMask::kFiles));
    EXPECT_TRUE(fs_.Exists(Path("moved.txt"), FileMask::kFiles));
    // Moving never replaces a file.
    EXPECT_FALSE(fs_.MoveFile(Path("two.txt"), Path("moved.txt"), &err));
    EXPECT_TRUE(fs_.Exists(Path("two.txt"), FileMask::kFiles));
}

TEST_F(Win32FileSystemTest, CopyMoveAndRenameFolders) {
    std::string err;
    ASSERT_TRUE(fs_.MakeFolder(Path("src"), &err));
    ASSERT_TRUE(fs_.MakeFolder(Path("src\\deep"), &err));
    fs_.WriteFile(Path("src\\deep\\f.txt"), "f", &err);
    ASSERT_TRUE(fs_.MakeFolder(Path("dest"), &err));

    ASSERT_TRUE(fs_.CopyFolder(Path("src"), Path("copy"), &err)) << err;
    EXPECT_TRUE(fs_.Exists(Path("copy\\deep\\f.txt"), FileMask::kFiles));
    ASSERT_TRUE(fs_.CopyFolder(Path("src"), Path("dest\\"), &err)) << err;
    EXPECT_TRUE(fs_.Exists(Path("dest\\src\\deep\\f.txt"), FileMask::kFiles));
    EXPECT_FALSE(fs_.CopyFolder(Path("none"), Path("x"), &err));

    ASSERT_TRUE(fs_.MoveFolder(Path("copy"), Path("moved"), &err)) << err;
    EXPECT_FALSE(fs_.IsFolder(Path("copy")));
    EXPECT_TRUE(fs_.Exists(Path("moved\\deep\\f.txt"), FileMask::kFiles));
    EXPECT_FALSE(fs_.MoveFolder(Path("src"), Path("moved"), &err));  // exists already

    ASSERT_TRUE(fs_.Rename(Path("moved"), Path("renamed"), &err)) << err;
    EXPECT_TRUE(fs_.IsFolder(Path("renamed")));
    ASSERT_TRUE(fs_.Rename(Path("renamed\\deep\\f.txt"), Path("g.txt"), &err)) << err;
    EXPECT_TRUE(fs_.Exists(Path("g.txt"), FileMask::kFiles));
    EXPECT_FALSE(fs_.Rename(Path("none"), Path("x"), &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace vantrel::win32
