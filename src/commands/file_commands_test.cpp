#include "commands/file_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kHeader[] = "   Last modified   |    Size (bytes)    |               Filename";
constexpr char kRule[] =
    "-------------------|--------------------|---------------------------------------";

class FileCommandsTest : public InterpreterTest {
  protected:
    FileCommandsTest() {
        os.files.AddFolder("C:\\Work");
        os.files.current = "C:\\Work";
        in.SetVar("OutputKeep", "1");
    }

    // A file with a known time, in the current folder.
    void File(const std::string& name, const std::string& contents, LocalTime time = {}) {
        os.files.AddFile(name, contents);
        os.files.At(name).modified = time;
    }
};

TEST_F(FileCommandsTest, DirEntryColumns) {
    struct Case {
        const char* name;
        bool folder;
        std::int64_t size;
        LocalTime modified;
        const char* line;
    } cases[] = {
        {"Sub", true, 0, {2024, 3, 5, 7, 8, 9}, " 05/03/24 07:08:09 |              <DIR> | Sub"},
        {"empty.txt",
         false,
         0,
         {1999, 12, 31, 23, 59, 58},
         " 31/12/99 23:59:58 |                  0 | empty.txt"},
        {"a b.txt",
         false,
         1234,
         {2000, 1, 1, 0, 0, 0},
         " 01/01/00 00:00:00 |              1,234 | a b.txt"},
        // Sizes past the 32-bit range keep their digits.
        {"disk.img",
         false,
         3221225472LL,
         {2026, 11, 20, 12, 0, 1},
         " 20/11/26 12:00:01 |      3,221,225,472 | disk.img"},
        {"big.bin",
         false,
         2147483648LL,
         {2026, 1, 2, 3, 4, 5},
         " 02/01/26 03:04:05 |      2,147,483,648 | big.bin"},
        {"full.bin",
         false,
         99999999999999LL,
         {2026, 1, 2, 3, 4, 5},
         " 02/01/26 03:04:05 | 99,999,999,999,999 | full.bin"},
        {"wider.bin",
         false,
         123456789012345LL,
         {2026, 1, 2, 3, 4, 5},
         " 02/01/26 03:04:05 | 123,456,789,012,345 | wider.bin"},
    };
    for (const Case& c : cases) {
        FileEntry entry;
        entry.name = c.name;
        entry.folder = c.folder;
        entry.size = c.size;
        entry.modified = c.modified;
        EXPECT_EQ(FormatDirEntry(entry), c.line) << c.name;
    }
}

TEST_F(FileCommandsTest, GroupThousands) {
    struct Case {
        std::int64_t value;
        const char* text;
    } cases[] = {{0, "0"},
                 {999, "999"},
                 {1000, "1,000"},
                 {999999, "999,999"},
                 {1000000, "1,000,000"},
                 {9223372036854775807LL, "9,223,372,036,854,775,807"},
                 {-1234, "-1,234"}};
    for (const Case& c : cases) EXPECT_EQ(GroupThousands(c.value), c.text) << c.value;
}

TEST_F(FileCommandsTest, DirListsTheCurrentFolderInItsOrder) {
    os.files.AddFolder("Sub");
    os.files.At("Sub").modified = {2024, 3, 5, 7, 8, 9};
    File("a.txt", "hello", {2026, 12, 6, 14, 30, 5});
    File("zero.dat", "", {2026, 12, 6, 14, 30, 6});
    File("huge.iso", "", {2026, 12, 6, 14, 30, 7});
    os.files.At("huge.iso").size = 5LL * 1024 * 1024 * 1024;
    File("secret.txt", "x", {2026, 12, 6, 14, 30, 8});
    os.files.At("secret.txt").hidden = true;
    File("boot.sys", "x");
    os.files.At("boot.sys").system = true;

    EXPECT_EQ(Output("dir"), std::string(kHeader) + "\n" + kRule + "\n" +
                                 " 06/12/26 14:30:05 |                  5 | a.txt\n"
                                 " 06/12/26 14:30:07 |      5,368,709,120 | huge.iso\n"
                                 " 06/12/26 14:30:08 |                  1 | secret.txt\n"
                                 " 05/03/24 07:08:09 |              <DIR> | Sub\n"
                                 " 06/12/26 14:30:06 |                  0 | zero.dat");
    // A folder named alone is listed itself, not its contents.
    EXPECT_EQ(Output("DIR sub"), std::string(kHeader) + "\n" + kRule +
                                     "\n 05/03/24 07:08:09 |              <DIR> | Sub");
    std::string txt = Output("dir *.txt");
    EXPECT_EQ(Output("dir .txt"), txt);
    EXPECT_EQ(Output("dir \".txt\""), txt);
    EXPECT_NE(txt.find("a.txt"), std::string::npos);
    EXPECT_EQ(txt.find("zero.dat"), std::string::npos);
}

TEST_F(FileCommandsTest, DirRefusesFolderNamesAndSaysWhenNothingMatches) {
    const std::string refusal =
        "Cannot use folder names with DIR\nTo view the contents of another folder, use DOS DIR "
        "[path]";
    for (const char* line : {"dir ..", "dir .", "dir sub\\*", "dir c:/x", "dir \\"}) {
        EXPECT_EQ(Output(line), refusal) << line;
    }
    EXPECT_EQ(Output("dir"), "No matching files or folders");
    File("a.txt", "");
    EXPECT_EQ(Output("dir *.doc"), "No matching files or folders");
}

TEST_F(FileCommandsTest, MdAndRd) {
    EXPECT_EQ(Output("md"), "Syntax: MD [folder]");
    EXPECT_EQ(Output("rmdir"), "Syntax: RD [folder]");
    EXPECT_EQ(Output("md new folder"), "");
    EXPECT_TRUE(os.files.IsFolder("C:\\Work\\new folder"));
    EXPECT_EQ(Output("mkdir new folder"), kAlreadyExists);
    File("new folder\\inside.txt", "x");
    EXPECT_EQ(Output("rd new folder"), kNotEmpty);
    os.files.DeleteFiles("new folder\\inside.txt", nullptr);
    EXPECT_EQ(Output("rd new folder"), "");
    EXPECT_FALSE(os.files.IsFolder("C:\\Work\\new folder"));
    EXPECT_EQ(Output("rd new folder"), kNotFound);
    EXPECT_EQ(Output("md a\\b"), kPathNotFound);
}

TEST_F(FileCommandsTest, CopyNeverOverwritesAFileNamedAsTheDestination) {
    File("a.txt", "A");
    File("b.txt", "B");
    for (const char* line : {"copy a.txt", "cp", "copy a b c"}) {
        EXPECT_EQ(Output(line), "Syntax: COPY source destination") << line;
    }
    EXPECT_EQ(Output("copy a.txt b.txt"), "Another file with that name already exists");
    EXPECT_EQ(os.files.Contents("b.txt"), "B");
    EXPECT_EQ(Output("copy nothere.txt c.txt"), "Source file/folder not found");
    EXPECT_EQ(Output("copy a.txt c.txt"), "");
    EXPECT_EQ(os.files.Contents("c.txt"), "A");
    EXPECT_EQ(os.files.Contents("a.txt"), "A");
    EXPECT_EQ(Output("copy a.txt nowhere\\c.txt"), kPathNotFound);
}

TEST_F(FileCommandsTest, CopyIntoAFolderKeepsTheName) {
    File("A.txt", "A");
    os.files.AddFolder("backup");
    EXPECT_EQ(Output("copy a.txt backup"), "");
    EXPECT_EQ(os.files.Contents("backup\\A.txt"), "A");
    EXPECT_EQ(os.files.Find("backup\\*", FileMask::kFiles).front().name, "A.txt");
    EXPECT_EQ(Output("copy a.txt backup"), "Another file with that name already exists");
    EXPECT_EQ(Output("copy a.txt backup\\"), "Another file with that name already exists");
    // A trailing "\" names the folder: other files in it are no obstacle.
    File("b.txt", "B");
    EXPECT_EQ(Output("copy b.txt \"backup\\\""), "");
    EXPECT_EQ(os.files.Contents("backup\\b.txt"), "B");
}

TEST_F(FileCommandsTest, CopyWithWildcardsAndFolders) {
    File("one.log", "1");
    File("two.log", "2");
    File("keep.txt", "k");
    os.files.AddFolder("logs");
    File("logs\\one.log", "old");
    EXPECT_EQ(Output("copy *.log logs"), "");
    EXPECT_EQ(os.files.Contents("logs\\one.log"), "1");  // a wildcard copy overwrites
    EXPECT_EQ(os.files.Contents("logs\\two.log"), "2");
    EXPECT_FALSE(os.files.HasFile("logs\\keep.txt"));

    // A folder is copied whole, merging into an existing destination.
    os.files.AddFolder("archive");
    File("archive\\one.log", "stale");
    File("archive\\extra.txt", "e");
    EXPECT_EQ(Output("copy logs archive"), "");
    EXPECT_EQ(os.files.Contents("archive\\one.log"), "1");
    EXPECT_EQ(os.files.Contents("archive\\two.log"), "2");
    EXPECT_EQ(os.files.Contents("archive\\extra.txt"), "e");
    EXPECT_EQ(Output("copy logs logs\\deeper"), "Cannot copy a folder into itself");

    // A pattern that finds only folders copies each of them into the
    // destination.
    os.files.AddFolder("all");
    EXPECT_EQ(Output("copy lo?s all"), "");
    EXPECT_EQ(os.files.Contents("all\\logs\\two.log"), "2");
}

TEST_F(FileCommandsTest, MoveFilesAndFolders) {
    File("a.txt", "A");
    File("b.txt", "B");
    os.files.AddFolder("dest");
    EXPECT_EQ(Output("mv a.txt"), "Syntax: MOVE source destination");
    EXPECT_EQ(Output("move a.txt b.txt"), "Another file with that name already exists");
    EXPECT_EQ(Output("move a.txt c.txt"), "");
    EXPECT_FALSE(os.files.HasFile("a.txt"));
    EXPECT_EQ(os.files.Contents("c.txt"), "A");
    EXPECT_EQ(Output("move c.txt dest"), "");
    EXPECT_EQ(os.files.Contents("dest\\c.txt"), "A");
    File("c.txt", "again");
    EXPECT_EQ(Output("move c.txt dest"), "Another file with that name already exists");
    EXPECT_EQ(os.files.Contents("c.txt"), "again");

    EXPECT_EQ(Output("move dest moved"), "");
    EXPECT_EQ(os.files.Contents("moved\\c.txt"), "A");
    EXPECT_FALSE(os.files.IsFolder("dest"));
    os.files.AddFolder("other");
    EXPECT_EQ(Output("move other moved"), kAlreadyExists);
    EXPECT_EQ(Output("move nothere x"), "Source file/folder not found");
}

TEST_F(FileCommandsTest, RenameTakesAFullNewName) {
    File("a.txt", "A");
    File("b.txt", "B");
    os.files.AddFolder("Sub");
    EXPECT_EQ(Output("ren a.txt"), "Syntax: RENAME source destination");
    EXPECT_EQ(Output("name a b c"), "Syntax: RENAME source destination");
    EXPECT_EQ(Output("rename x.txt y.txt"), "Source file/folder not found");
    EXPECT_EQ(Output("rename a.txt b.txt"), "Another file with that name already exists");
    EXPECT_EQ(Output("rn a.txt Sub\\c.txt"), "");
    EXPECT_EQ(os.files.Contents("Sub\\c.txt"), "A");
    EXPECT_EQ(Output("rename Sub Folder"), "");
    EXPECT_TRUE(os.files.IsFolder("Folder"));
    EXPECT_EQ(os.files.Contents("Folder\\c.txt"), "A");
    EXPECT_EQ(Output("rename b.txt Folder"), kAlreadyExists);
}

TEST_F(FileCommandsTest, DelDeletesMatchingFilesOnly) {
    File("a.tmp", "");
    File("b.tmp", "");
    File("hidden.tmp", "");
    os.files.At("hidden.tmp").hidden = true;
    File("keep.txt", "");
    os.files.AddFolder("dir.tmp");
    EXPECT_EQ(Output("del \"*.tmp\""), "");
    EXPECT_FALSE(os.files.HasFile("a.tmp"));
    EXPECT_FALSE(os.files.HasFile("hidden.tmp"));
    EXPECT_TRUE(os.files.HasFile("keep.txt"));
    EXPECT_TRUE(os.files.IsFolder("dir.tmp"));
    EXPECT_EQ(Output("del *.tmp"), "File not found");
    EXPECT_EQ(Output("rm dir.tmp"), "File not found");
    EXPECT_EQ(Output("delete"), "File not found");

    File("locked.txt", "");
    os.files.At("locked.txt").readOnly = true;
    EXPECT_EQ(Output("del *.txt"), kAccessDenied);
    EXPECT_TRUE(os.files.HasFile("locked.txt"));
    EXPECT_FALSE(os.files.HasFile("keep.txt"));
}

TEST_F(FileCommandsTest, TypePrintsEveryLine) {
    File("a b.txt", std::string("one\r\n\r\nthree\rfour\nfi\0ve\r\n", 25));
    EXPECT_EQ(Output("type"), "Syntax: TYPE filename");
    EXPECT_EQ(Output("type nothere.txt"), "File not found");
    EXPECT_EQ(Output("type \"\""), "File not found");
    EXPECT_EQ(Output("type \"a b.txt\""), "one\n\nthree\nfour\nfi ve");
    os.files.AddFolder("folder");
    EXPECT_EQ(Output("type folder"), "File not found");
}

TEST_F(FileCommandsTest, TypeOfAHugeFileIsCutShort) {
    std::string line(1023, 'x');
    std::string text;
    for (int i = 0; i < 2048; ++i) text += line + "\n";  // 2 MiB
    File("huge.txt", text);
    std::string out = Output("type huge.txt");
    // 1024 whole lines of the first MiB, then the notice.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1024);
    EXPECT_EQ(out.substr(out.rfind('\n') + 1),
              "Only the first 1048576 bytes of the file are shown");
}

TEST_F(FileCommandsTest, EditStartsTheEditorOnAnExistingFileOnly) {
    File("notes.txt", "");
    EXPECT_EQ(Output("edit"), "Syntax: EDIT filename");
    EXPECT_EQ(Output("edit new.txt"), "File not found");
    EXPECT_FALSE(os.files.HasFile("new.txt"));
    EXPECT_TRUE(os.processes.started.empty());
    EXPECT_EQ(Output("edit \"notes.txt\""), "");
    ASSERT_EQ(os.processes.started.size(), 1u);
    EXPECT_EQ(os.processes.started[0], (FakeProcesses::StartCall{"Notepad.exe \"notes.txt\"", 1}));
    os.processes.startError = "The system cannot find the file specified.";
    EXPECT_EQ(Output("edit notes.txt"), "The system cannot find the file specified.");
}

TEST_F(FileCommandsTest, PathPrintsTheSearchPath) {
    os.environment.variables.push_back({"Path", "  C:\\Windows;C:\\Tools  "});
    os.environment.variables.erase(os.environment.variables.begin() + 3);  // the fixture's PATH
    EXPECT_EQ(Output("path"), "C:\\Windows;C:\\Tools");
    EXPECT_EQ(Output("PATH x"), "Syntax: PATH");
}

}  // namespace
}  // namespace vantrel::testing
