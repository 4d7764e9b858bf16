#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/paths.h"
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

    // What one line of a scenario answers ("" for none). "make NAME=TEXT"
    // makes a file, and a NAME that ends in a backslash a folder, with the
    // attributes r, h, s that follow; "tree", "exists", "hidden" and "read
    // NAME OFFSET LIMIT" look; any other word is the operation of that name,
    // with one name or two, answering "ok" or "fails: " and the description.
    std::string Answer(const std::vector<std::string>& w) {
        const std::string arg = w.size() > 1 ? w[1] : "";
        if (w[0] == "make") {
            DWORD attributes = 0;
            for (char c : w.size() > 2 ? w[2] : "") {
                attributes |= c == 'r'   ? FILE_ATTRIBUTE_READONLY
                              : c == 'h' ? FILE_ATTRIBUTE_HIDDEN
                                         : FILE_ATTRIBUTE_SYSTEM;
            }
            const size_t eq = arg.find('=');
            if (arg.back() == '\\') {
                Folder(arg.substr(0, arg.size() - 1), attributes);
            } else {
                Make(arg.substr(0, eq), arg.substr(eq + 1),
                     attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
            }
            return "";
        }
        if (w[0] == "tree") {
            std::string all;
            for (const std::string& entry : Tree()) all += (all.empty() ? "" : " ") + entry;
            return all;
        }
        if (w[0] == "exists") {
            auto yes = [&](FileMask mask) { return fs_.Exists(arg, mask) ? "yes" : "no"; };
            return std::string("files ") + yes(FileMask::kFiles) + ", files and folders " +
                   yes(FileMask::kFilesAndFolders);
        }
        if (w[0] == "hidden") {
            return GetFileAttributesA(arg.c_str()) & FILE_ATTRIBUTE_HIDDEN ? "yes" : "no";
        }
        std::string err;
        bool ok = false;
        if (w[0] == "read") {
            ok = fs_.ReadFilePart(arg, std::stoull(w[2]), std::stoul(w[3]), &text_, &more_, &err);
            if (ok) return "\"" + text_ + (more_ ? "\" and more" : "\" to the end");
        } else if (w.size() == 3) {
            using Transfer =
                bool (FileSystem::*)(const std::string&, const std::string&, std::string*);
            const std::map<std::string, Transfer> transfers = {
                {"CopyFile", &FileSystem::CopyFile},
                {"MoveFile", &FileSystem::MoveFile},
                {"CopyFolder", &FileSystem::CopyFolder},
                {"MoveFolder", &FileSystem::MoveFolder},
                {"Rename", &FileSystem::Rename}};
            ok = (fs_.*transfers.at(w[0]))(arg, w[2], &err);
        } else {
            ok = Operations().at(w[0])(arg, &err);
        }
        return ok ? "ok" : "fails: " + err;
    }

    std::string text_;
    bool more_ = false;
};

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), {}};
    std::erase(text, '\r');
    return text;
}

// Every testdata/NAME.files runs in a fresh folder of its own, one line at a
// time, and the transcript of what the lines answered must be
// testdata/NAME.files.out. %ROOT% is the folder's full name and "" an empty
// name. VANTREL_GOLDEN_UPDATE=1 writes the transcripts instead, to be read
// before they are kept.
TEST_F(Win32FileSystemTest, TestdataScenarios) {
    const std::filesystem::path dir =
        std::filesystem::path(VANTREL_SOURCE_DIR) / "src" / "platform" / "win32" / "testdata";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".files") continue;
        const std::string name = entry.path().stem().string(), here = JoinPath(root_, name);
        std::string err, transcript;
        ASSERT_TRUE(fs_.MakeFolder(here, &err) && fs_.SetCurrentDirectory(here, &err)) << err;
        std::istringstream lines(ReadText(entry.path()));
        for (std::string line; std::getline(lines, line);) {
            if (line.empty() || line[0] == '#') continue;
            std::vector<std::string> words;
            std::istringstream split(line);
            for (std::string word; split >> word;) {
                if (word.starts_with("%ROOT%")) word.replace(0, 6, here);
                words.push_back(word == "\"\"" ? "" : word);
            }
            const std::string answer = Answer(words);
            if (!answer.empty()) transcript += line + " -> " + answer + "\n";
        }
        std::filesystem::path expected = entry.path();
        expected += ".out";
        if (std::getenv("VANTREL_GOLDEN_UPDATE")) {
            std::ofstream(expected, std::ios::binary) << transcript;
        }
        ASSERT_TRUE(std::filesystem::exists(expected)) << expected;
        EXPECT_EQ(transcript, ReadText(expected)) << entry.path();
        ++count;
    }
    ASSERT_GT(count, 0) << "no scenarios in " << dir;
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

TEST_F(Win32FileSystemTest, ABigCopyAsksToGoOnAndAStopLeavesNoPartialFile) {
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
    const std::string deep = JoinPath(root_, std::string(MAX_PATH - 12 - root_.size() - 1, 'd'));
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
