#include "commands/file_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

// The commands' texts and their effects on files are in files.dcb; these
// are the columns at their limits and what the pane cannot show.
class FileCommandsTest : public InterpreterTest {
  protected:
    FileCommandsTest() {
        os.files.AddFolder("C:\\Work");
        os.files.current = "C:\\Work";
        in.SetVar("OutputKeep", "1");
    }
};

TEST(DirColumns, DatesSizesAndNames) {
    struct Case {
        bool folder;
        std::int64_t size;
        LocalTime modified;
        const char* line;
    } cases[] = {
        {true, 0, {2024, 3, 5, 7, 8, 9}, " 05/03/24 07:08:09 |              <DIR> | x"},
        {false, 0, {1999, 12, 31, 23, 59, 58}, " 31/12/99 23:59:58 |                  0 | x"},
        {false, 1234, {2000, 1, 1, 0, 0, 0}, " 01/01/00 00:00:00 |              1,234 | x"},
        // Past 14 digits the column widens rather than lose any.
        {false, 99999999999999LL, {}, " 30/12/99 00:00:00 | 99,999,999,999,999 | x"},
        {false, 123456789012345LL, {}, " 30/12/99 00:00:00 | 123,456,789,012,345 | x"},
    };
    for (const Case& c : cases) {
        FileEntry entry{"x", c.folder, c.size, c.modified};
        EXPECT_EQ(FormatDirEntry(entry), c.line) << c.line;
    }
    EXPECT_EQ(GroupThousands(9223372036854775807LL), "9,223,372,036,854,775,807");
    EXPECT_EQ(GroupThousands(-1234), "-1,234");
}

TEST_F(FileCommandsTest, TypeOfAHugeFileIsCutShort) {
    std::string line(1023, 'x');
    std::string text;
    for (int i = 0; i < 2048; ++i) text += line + "\n";  // 2 MiB
    os.files.AddFile("huge.txt", text);
    std::string out = Output("type huge.txt");
    // 1024 whole lines of the first MiB, then the notice.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1024);
    EXPECT_EQ(out.substr(out.rfind('\n') + 1),
              "Only the first 1048576 bytes of the file are shown");
}

TEST_F(FileCommandsTest, EditStartsTheEditorOnAnExistingFileOnly) {
    os.files.AddFile("notes.txt", "");
    EXPECT_EQ(Output("edit new.txt"), "File not found");
    EXPECT_FALSE(os.files.HasFile("new.txt"));
    EXPECT_TRUE(os.processes.started.empty());
    EXPECT_EQ(Output("edit \"notes.txt\""), "");
    EXPECT_EQ(os.processes.started,
              (std::vector<FakeProcesses::StartCall>{{"Notepad.exe \"notes.txt\"", kShowNormal}}));
    os.processes.startError = "The system cannot find the file specified.";
    EXPECT_EQ(Output("edit notes.txt"), "The system cannot find the file specified.");
}

TEST_F(FileCommandsTest, PathPrintsTheSearchPathTrimmed) {
    os.environment.variables = {{"Path", "  C:\\Windows;C:\\Tools  "}};
    EXPECT_EQ(Output("path"), "C:\\Windows;C:\\Tools");
}

}  // namespace
}  // namespace vantrel::testing
