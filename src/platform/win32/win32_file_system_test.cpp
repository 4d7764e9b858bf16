#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "interpreter/text.h"
#include "platform/win32/scratch_folder_testing.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"
#include "text/case_fold.h"

namespace vantrel::win32 {
namespace {

using testing::Names;

class Win32FileSystemTest : public testing::ScratchFolderTest {
  protected:
    // Every operation that takes a name, by a label that says where the
    // name goes; the other arguments are fixed.
    using Call = std::function<bool(const std::string& name, std::string* err)>;
    std::map<std::string, Call> Operations() {
        return {
            {"ReadFile", [this](auto& n, auto* e) { return fs_.ReadFile(n, &text_, e); }},
            {"ReadFilePart",
             [this](auto& n, auto* e) { return fs_.ReadFilePart(n, 0, 9, &text_, &more_, e); }},
            {"WriteFile", [this](auto& n, auto* e) { return fs_.WriteFile(n, "x", e); }},
            {"AppendFile", [this](auto& n, auto* e) { return fs_.AppendFile(n, "x", e); }},
            {"ReplaceFile", [this](auto& n, auto* e) { return fs_.ReplaceFile(n, "x", e); }},
            {"DeleteFiles", [this](auto& n, auto* e) { return fs_.DeleteFiles(n, e); }},
            {"MakeFolder", [this](auto& n, auto* e) { return fs_.MakeFolder(n, e); }},
            {"RemoveFolder", [this](auto& n, auto* e) { return fs_.RemoveFolder(n, e); }},
            {"CopyFile to", [this](auto& n, auto* e) { return fs_.CopyFile("a.txt", n, e); }},
            {"CopyFile from", [this](auto& n, auto* e) { return fs_.CopyFile(n, "b.txt", e); }},
            {"MoveFile to", [this](auto& n, auto* e) { return fs_.MoveFile("a.txt", n, e); }},
            {"MoveFile from", [this](auto& n, auto* e) { return fs_.MoveFile(n, "b.txt", e); }},
            {"CopyFolder to", [this](auto& n, auto* e) { return fs_.CopyFolder("sub", n, e); }},
            {"CopyFolder from", [this](auto& n, auto* e) { return fs_.CopyFolder(n, "b", e); }},
            {"MoveFolder to", [this](auto& n, auto* e) { return fs_.MoveFolder("sub", n, e); }},
            {"MoveFolder from", [this](auto& n, auto* e) { return fs_.MoveFolder(n, "b", e); }},
            {"Rename to", [this](auto& n, auto* e) { return fs_.Rename("a.txt", n, e); }},
            {"Rename from", [this](auto& n, auto* e) { return fs_.Rename(n, "b.txt", e); }},
            {"ChangeFolder", [this](auto& n, auto* e) { return fs_.ChangeFolder(n, e); }},
            {"SetCurrentDirectory",
             [this](auto& n, auto* e) { return fs_.SetCurrentDirectory(n, e); }},
            {"ChangeDrive", [this](auto& n, auto* e) { return fs_.ChangeDrive(n, e); }},
        };
    }

    std::string text_;
    bool more_ = false;
};

TEST_F(Win32FileSystemTest, LookupMasks) {
    Make("plain.txt", "x");
    Make("readonly.txt", "x", FILE_ATTRIBUTE_READONLY);
    Make("hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN);
    Make("system.sys", "x", FILE_ATTRIBUTE_SYSTEM);
    Make("hidsys.sys", "x", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    Folder("folder");
    Folder("hiddenfolder", FILE_ATTRIBUTE_HIDDEN);
    // "folder\" looks inside the empty folder: "." and ".." count as folders.
    struct Case {
        std::string name;
        bool files, filesAndFolders;
    } cases[] = {
        {"plain.txt", true, true},     {"PLAIN.TXT", true, true},    {"readonly.txt", true, true},
        {"hidden.txt", true, true},    {"system.sys", false, false}, {"hidsys.sys", false, false},
        {"*.sys", false, false},       {"folder", false, true},      {"hiddenfolder", false, true},
        {"missing.txt", false, false}, {"*.txt", true, true},        {"p?ain.*", true, true},
        {"fold*", false, true},        {"folder\\", false, true},    {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fs_.Exists(c.name, FileMask::kFiles), c.files) << c.name;
        EXPECT_EQ(fs_.Exists(c.name, FileMask::kFilesAndFolders), c.filesAndFolders) << c.name;
    }
}

// Each match as "name size", a folder's name with its "\", sorted.
Names Described(const std::vector<FileEntry>& entries) {
    Names described;
    for (const FileEntry& e : entries) {
        described.push_back(e.name + (e.folder ? "\\ " : " ") + std::to_string(e.size));
    }
    std::sort(described.begin(), described.end());
    return described;
}

TEST_F(Win32FileSystemTest, FindGivesKindsSizesAndLocalTimes) {
    Make("a.txt", "hello");
    Make("boot.sys", "x", FILE_ATTRIBUTE_SYSTEM);
    Folder("sub");
    {
        // Past 4 GiB, the size needs its high 32 bits; written at a known
        // local time, 20 November 2026 12:00:01.
        UniqueFile big(CreateFileA("big.img", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size;
        size.QuadPart = 5LL * 1024 * 1024 * 1024 + 7;
        SYSTEMTIME st{2026, 11, 5, 20, 12, 0, 1, 0};
        FILETIME local, utc;
        ASSERT_TRUE(SetFilePointerEx(big.Get(), size, nullptr, FILE_BEGIN) &&
                    SetEndOfFile(big.Get()) && SystemTimeToFileTime(&st, &local) &&
                    LocalFileTimeToFileTime(&local, &utc) &&
                    SetFileTime(big.Get(), nullptr, nullptr, &utc));
    }
    EXPECT_EQ(Described(fs_.Find("*", FileMask::kFilesAndFolders)),
              (Names{"a.txt 5", "big.img 5368709127", "sub\\ 0"}));
    EXPECT_EQ(Described(fs_.Find("*.*", FileMask::kFiles)),
              (Names{"a.txt 5", "big.img 5368709127"}));
    EXPECT_EQ(Described(fs_.Find("sub\\", FileMask::kFilesAndFolders)), Names{});
    EXPECT_EQ(Described(fs_.Find("", FileMask::kFilesAndFolders)), Names{});
    const LocalTime t = fs_.Find("big.img", FileMask::kFiles).at(0).modified;
    EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.hour, t.minute, t.second}),
              std::vector<int>({2026, 11, 20, 12, 0, 1}));
    EXPECT_TRUE(fs_.IsFolder("sub"));
    EXPECT_TRUE(fs_.IsFolder(root_ + "\\sub\\"));
    EXPECT_FALSE(fs_.IsFolder("a.txt"));
    EXPECT_FALSE(fs_.IsFolder("missing"));
}

TEST_F(Win32FileSystemTest, FilesKeepEveryByte) {
    std::string err;
    // Appending nothing still makes the file.
    ASSERT_TRUE(fs_.AppendFile("a.dcb", "", &err)) << err;
    EXPECT_EQ(Read("a.dcb"), "");
    ASSERT_TRUE(fs_.AppendFile("a.dcb", "one\r\n", &err)) << err;
    ASSERT_TRUE(fs_.AppendFile("a.dcb", std::string("tw\0o\xAC", 5), &err)) << err;
    EXPECT_EQ(Read("a.dcb"), std::string("one\r\ntw\0o\xAC", 10));
    ASSERT_TRUE(fs_.WriteFile("a.dcb", "0123", &err)) << err;
    EXPECT_EQ(Read("a.dcb"), "0123");

    struct Part {
        std::uint64_t offset;
        std::size_t limit;
        std::string text;
        bool more;
    } parts[] = {{0, 0, "", true},      {0, 3, "012", true}, {0, 4, "0123", false},
                 {0, 9, "0123", false}, {2, 1, "2", true},   {3, 9, "3", false},
                 {9, 3, "", false}};
    for (const Part& p : parts) {
        std::string text;
        bool more = !p.more;
        ASSERT_TRUE(fs_.ReadFilePart("a.dcb", p.offset, p.limit, &text, &more, &err)) << err;
        EXPECT_EQ(text, p.text) << p.offset << " " << p.limit;
        EXPECT_EQ(more, p.more) << p.offset << " " << p.limit;
    }
    // A file another program writes, as the system command interpreter
    // writes its output, reads as far as it has grown.
    UniqueFile writer(CreateFileA("growing.out", GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer.Valid());
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(writer.Get(), "first\r\nsecond\r\n", 15, &written, nullptr));
    std::string text;
    bool more = false;
    ASSERT_TRUE(fs_.ReadFilePart("growing.out", 7, 100, &text, &more, &err)) << err;
    EXPECT_EQ(text, "second\r\n");
}

TEST_F(Win32FileSystemTest, ReplaceFileSwapsInTheNewTextOrKeepsTheOld) {
    Make("Autoexec.dcb", "set a=1\r\n", FILE_ATTRIBUTE_HIDDEN);
    Make("locked.dcb", "old", FILE_ATTRIBUTE_READONLY);
    Folder("dir.dcb");
    std::string err;
    ASSERT_TRUE(fs_.ReplaceFile("Autoexec.dcb", "dock bottom\r\n", &err)) << err;
    ASSERT_TRUE(fs_.ReplaceFile(root_ + "\\fresh.dcb", "x\r\n", &err)) << err;
    for (const char* path : {"locked.dcb", "dir.dcb", "gone\\x.dcb"}) {
        EXPECT_FALSE(fs_.ReplaceFile(path, "lost", &err)) << path;
    }
    // Nothing left beside them; a hidden start-up file stays hidden.
    EXPECT_EQ(Tree(), (Names{"Autoexec.dcb=dock bottom\r\n", "dir.dcb\\", "fresh.dcb=x\r\n",
                             "locked.dcb=old"}));
    EXPECT_TRUE(GetFileAttributesA("Autoexec.dcb") & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(Win32FileSystemTest, FailuresGiveTheSystemsDescription) {
    Folder("full");
    Make("full\\f");
    Make("locked.dcb", "", FILE_ATTRIBUTE_READONLY);
    struct Case {
        const char* operation;
        const char* name;
        DWORD code;
    } cases[] = {
        {"ReadFile", "none.txt", ERROR_FILE_NOT_FOUND},
        {"ReadFilePart", "none", ERROR_FILE_NOT_FOUND},
        {"AppendFile", "no\\such.txt", ERROR_PATH_NOT_FOUND},
        {"WriteFile", "no\\such.txt", ERROR_PATH_NOT_FOUND},
        {"ReplaceFile", "locked.dcb", ERROR_ACCESS_DENIED},
        {"MakeFolder", "full", ERROR_ALREADY_EXISTS},
        {"RemoveFolder", "full", ERROR_DIR_NOT_EMPTY},
        // Devices are not files: NUL answers at once where COM1 would keep a
        // read waiting for ever.
        {"ReadFilePart", "NUL", ERROR_FILE_NOT_FOUND},
        {"ReadFile", "nul.txt", ERROR_FILE_NOT_FOUND},
        {"WriteFile", "NUL", ERROR_FILE_NOT_FOUND},
        {"AppendFile", "nul", ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        std::string err;
        EXPECT_FALSE(Operations().at(c.operation)(c.name, &err)) << c.operation << " " << c.name;
        EXPECT_EQ(err, ErrorText(c.code)) << c.operation << " " << c.name;
    }
}

// Names the system refuses: longer than any path, or with bytes no name may
// hold. Every operation fails with a description and changes nothing.
TEST_F(Win32FileSystemTest, OverlongAndInvalidNamesFailWithADescription) {
    Make("a.txt", "x");
    Folder("sub");
    Names names;
    for (size_t length : {300, 1000, 5000, 40000, 300000}) {
        names.push_back(std::string(length, 'n'));
        names.push_back("sub\\" + std::string(length, 'n') + "\\");
    }
    for (char c : std::string("\x01\x1f\"|<>")) names.push_back(std::string("x") + c + "y");
    const std::string here = fs_.CurrentDirectory();
    for (const std::string& name : names) {
        const std::string shown = name.substr(0, 12) + " (" + std::to_string(name.size()) + ")";
        EXPECT_FALSE(fs_.Exists(name, FileMask::kFilesAndFolders)) << shown;
        EXPECT_TRUE(fs_.Find(name, FileMask::kFilesAndFolders).empty()) << shown;
        EXPECT_FALSE(fs_.IsFolder(name)) << shown;
        for (auto& [operation, call] : Operations()) {
            std::string err;
            EXPECT_FALSE(call(name, &err)) << shown << ", " << operation;
            EXPECT_FALSE(err.empty()) << shown << ", " << operation;
        }
    }
    EXPECT_EQ(fs_.CurrentDirectory(), here);
    EXPECT_EQ(Tree(), (Names{"a.txt=x", "sub\\"}));

    // A folder as long as a folder can be leaves no room for the file that
    // ReplaceFile writes first beside the old one.
    const std::string deep = root_ + "\\" + std::string(MAX_PATH - 12 - root_.size() - 1, 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
    std::string err;
    EXPECT_FALSE(fs_.ReplaceFile(deep + "\\f.dcb", "x", &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILENAME_EXCED_RANGE));
}

// Drives are listed as letter and colon, the current one among them.
TEST_F(Win32FileSystemTest, ChangeFolderOnTheCurrentDrive) {
    const std::vector<std::string> drives = fs_.Drives();
    for (const std::string& drive : drives) {
        EXPECT_TRUE(drive.size() == 2 && drive[0] >= 'A' && drive[0] <= 'Z' && drive[1] == ':')
            << drive;
    }
    EXPECT_NE(std::find(drives.begin(), drives.end(), text::UpperCase(root_.substr(0, 2))),
              drives.end());
    Folder("sub");
    std::string err;
    ASSERT_TRUE(fs_.ChangeFolder("sub", &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), root_ + "\\sub");
    ASSERT_TRUE(fs_.ChangeFolder("..", &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), root_);
    // Failures leave the current folder as it was.
    char missingDrive = 'Y';
    while (missingDrive > 'D' &&
           GetDriveTypeA((missingDrive + std::string(":\\")).c_str()) != DRIVE_NO_ROOT_DIR) {
        --missingDrive;
    }
    EXPECT_FALSE(fs_.ChangeFolder("missing", &err));
    EXPECT_FALSE(fs_.SetCurrentDirectory("missing", &err));
    if (missingDrive > 'D') {
        EXPECT_FALSE(fs_.ChangeDrive(missingDrive + std::string(":"), &err));
    }
    EXPECT_EQ(fs_.CurrentDirectory(), root_);
}

TEST_F(Win32FileSystemTest, ChangeFolderOnAnotherDriveKeepsTheCurrentDrive) {
    // Wine maps Z: to the Unix root; the temporary folder is on C:.
    if (GetDriveTypeA("Z:\\") == DRIVE_NO_ROOT_DIR || toupper(root_[0]) == 'Z') {
        GTEST_SKIP() << "needs a drive Z: besides the temporary folder's";
    }
    std::string err;
    ASSERT_TRUE(fs_.ChangeFolder("Z:\\tmp", &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), root_);
    EXPECT_FALSE(fs_.ChangeFolder("Z:\\no_such_folder_here", &err));
    ASSERT_TRUE(fs_.ChangeDrive("z:", &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), "Z:\\tmp");
    // Back on the first drive at the folder it was left at.
    ASSERT_TRUE(fs_.ChangeDrive(root_.substr(0, 2), &err)) << err;
    EXPECT_EQ(fs_.CurrentDirectory(), root_);
}

}  // namespace
}  // namespace vantrel::win32
