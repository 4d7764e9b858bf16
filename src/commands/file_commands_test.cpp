#include "commands/file_commands.h"

#include <algorithm>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using namespace std::string_literals;

const std::string kCut = "Only the first 1048576 bytes of the file are shown";

// The commands' texts and their effects on files are in files.dcb, the
// decoding TYPE shares with every stored file in text_decoding.txt, EDIT in
// launch.dcb; these are the columns at their limits and what the pane cannot
// show.
class FileCommandsTest : public InterpreterTest {
  protected:
    FileCommandsTest() {
        os.files.AddFolder("C:\\Work");
        os.files.current = "C:\\Work";
        in.SetVar("OutputKeep", "1");
    }
};

TEST(DirColumns, DatesSizesAndNames) {
    FakeClock clock;
    // The fake writes M/D/YYYY hh:mm:ss, 19 characters at most.
    DirColumns columns = DirColumnsOf(clock);
    EXPECT_EQ(columns.dateWidth, 19u);
    const std::tuple<bool, std::int64_t, LocalTime, const char*> cases[] = {
        {true, 0, {2024, 3, 5, 7, 8, 9}, "   3/5/2024 07:08:09 |              <DIR> | x"},
        {false, 0, {1999, 12, 31, 23, 59, 58}, " 12/31/1999 23:59:58 |                  0 | x"},
        {false, 1234, {2000, 1, 1, 0, 0, 0}, "   1/1/2000 00:00:00 |              1,234 | x"},
        // Past 14 digits the column widens rather than lose any.
        {false, 99999999999999LL, {}, " 12/30/1899 00:00:00 | 99,999,999,999,999 | x"},
        {false, 123456789012345LL, {}, " 12/30/1899 00:00:00 | 123,456,789,012,345 | x"},
    };
    for (const auto& [folder, size, modified, line] : cases)
        EXPECT_EQ(FormatDirEntry(FileEntry{"x", folder, size, modified}, clock, columns), line);
    // Columns count characters: a no-break space between thousands is two
    // bytes of UTF-8.
    clock.dateOrder = text::DateOrder::kDayMonthYear;
    columns.separator = "\xC2\xA0";
    EXPECT_EQ(FormatDirEntry(FileEntry{"x", false, 1234567, {2024, 3, 5, 7, 8, 9}}, clock, columns),
              " 05/03/2024 07:08:09 |          1\xC2\xA0"
              "234\xC2\xA0"
              "567 | x");
    EXPECT_EQ(GroupThousands(9223372036854775807LL, ","), "9,223,372,036,854,775,807");
    EXPECT_EQ(GroupThousands(-1234, "."), "-1.234");
}

TEST_F(FileCommandsTest, TypeOfAHugeFileIsCutShortAndLeavesOutACharacterTornAtTheLimit) {
    std::string text;
    for (int i = 0; i < 2048; ++i) text += std::string(1023, 'x') + "\n";  // 2 MiB
    os.files.AddFile("huge.txt", text);
    std::string out = Output("type huge.txt");
    // 1024 whole lines of the first MiB, then the notice.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1024);
    EXPECT_EQ(out.substr(out.rfind('\n') + 1), kCut);
    // Characters of two, three and four bytes that the limit cuts through.
    for (const char* last : {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"}) {
        os.files.AddFile("cut.txt", "x\r\n" + std::string((1 << 20) - 4, 'x') + last + "y\r\n");
        out = Output("type cut.txt");
        const size_t notice = out.rfind('\n');
        ASSERT_NE(notice, std::string::npos) << last;
        EXPECT_EQ(out.substr(notice + 1), kCut);
        const std::string shown = out.substr(0, notice);
        // The x's, and nothing of the torn character.
        EXPECT_EQ(shown.substr(shown.rfind('\n') + 1).find_first_not_of('x'), std::string::npos)
            << last;
    }
    // UTF-16: a pair cut in its middle.
    std::string units = "\xFF\xFE";
    for (size_t i = 0; i < ((1 << 20) - 4) / 2; ++i) units += "x\0"s;
    os.files.AddFile("cut16.txt", units + "\x3D\xD8\x00\xDE"s);
    out = Output("type cut16.txt");
    ASSERT_GT(out.size(), 100u);
    // The oldest pending lines may have gone; the end is whole x's.
    EXPECT_EQ(out.substr(out.size() - 100), std::string(100 - kCut.size() - 1, 'x') + "\n" + kCut);
}

TEST_F(FileCommandsTest, PathPrintsTheSearchPathTrimmed) {
    os.environment.variables = {{"Path", "  C:\\Windows;C:\\Tools  "}};
    EXPECT_EQ(Output("path"), "C:\\Windows;C:\\Tools");
}

}  // namespace
}  // namespace vantrel::testing
