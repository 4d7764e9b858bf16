#include "line_editor/history_file.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace vantrel::testing {
namespace {

constexpr char kFolder[] = "C:\\Users\\me\\AppData\\Roaming\\Orvane\\Vantrel";
constexpr char kPath[] = "C:\\Users\\me\\AppData\\Roaming\\Orvane\\Vantrel\\History.txt";

using Lines = std::vector<std::string>;

// --- the list and the suggestion -------------------------------------------

TEST(HistoryLinesTest, ALineEnteredAgainMovesToTheEndAndTheOldestGoPastTheCap) {
    HistoryLines lines;
    EXPECT_FALSE(lines.Add("a"));
    EXPECT_FALSE(lines.Add("b"));
    EXPECT_FALSE(lines.Add("A"));  // letter case makes another line
    EXPECT_TRUE(lines.Add("a"));
    EXPECT_EQ(lines.Lines(), (Lines{"b", "A", "a"}));
    Lines many;
    for (size_t i = 0; i <= kHistoryLines; ++i) many.push_back("echo " + std::to_string(i));
    lines.Assign(many);
    ASSERT_EQ(lines.Lines().size(), kHistoryLines);
    EXPECT_EQ(lines.Lines().front(), "echo 1");
    EXPECT_TRUE(lines.Add("echo 5000"));
    EXPECT_FALSE(lines.Add("new"));
    ASSERT_EQ(lines.Lines().size(), kHistoryLines);
    EXPECT_EQ(lines.Lines().front(), "echo 2");
    EXPECT_EQ(lines.Lines()[kHistoryLines - 2], "echo 5000");
    EXPECT_EQ(lines.Lines().back(), "new");
    // Assigning keeps each line at its newest place.
    EXPECT_EQ(NewestUnique({"a", "b", "a", "c", "b"}, 10), (Lines{"a", "c", "b"}));
    EXPECT_EQ(NewestUnique({"a", "b", "a", "c", "b"}, 2), (Lines{"c", "b"}));
    EXPECT_EQ(NewestUnique({}, 2), Lines{});
}

// --- the file ----------------------------------------------------------------

class HistoryFileTest : public ::testing::Test {
  protected:
    HistoryFileTest() { files.AddFolder(kFolder); }

    std::string Append(const std::string& line, bool duplicate = false) {
        std::string err;
        EXPECT_TRUE(file.Append(line, duplicate, &err)) << err;
        return files.Contents(kPath);
    }

    FakeFileSystem files;
    FakeCodePages pages;
    HistoryFile file{files, pages, kPath};
};

TEST_F(HistoryFileTest, EachLineIsAppendedWithItsLineEndAndNeverJoinsOneEditedIn) {
    EXPECT_EQ(file.Load(), (Lines{}));
    EXPECT_FALSE(files.HasFile(kPath));
    Append("dir");
    EXPECT_EQ(Append("echo \"a b\""), "dir\r\necho \"a b\"\r\n");
    EXPECT_EQ(files.replaceCount, 0);
    // A line edited in without its end is not joined by the next.
    files.AddFile(kPath, files.Contents(kPath) + "typed by hand");
    EXPECT_EQ(Append("b"), "dir\r\necho \"a b\"\r\ntyped by hand\r\nb\r\n");
}

TEST_F(HistoryFileTest, LoadGivesTheNewestOfEachLineAndDropsATornLastOne) {
    // clang-format off
    const struct { const char* name; const char* contents; Lines lines; const char* mended; }
        cases[] = {  // mended: the file afterwards
        {"whole", "a\r\nb\r\na\r\n", {"b", "a"}, "a\r\nb\r\na\r\n"},
        {"torn", "a\r\nb\r\nhalf a li", {"a", "b"}, "a\r\nb\r\n"},
        {"torn first line", "ec", {}, ""},
        {"cut between CR and LF", "a\r\nb\r", {"a", "b"}, "a\r\nb\r\n"},
        {"edited with LF ends", "a\nb\n", {"a", "b"}, "a\r\nb\r\n"},
        {"blank lines", "a\r\n\r\n\r\nb\r\n", {"a", "b"}, "a\r\n\r\n\r\nb\r\n"},
        {"empty", "", {}, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        files.AddFile(kPath, c.contents);
        HistoryFile loaded(files, pages, kPath);
        EXPECT_EQ(loaded.Load(), c.lines) << c.name;
        EXPECT_EQ(files.Contents(kPath), c.mended) << c.name;
    }
    // After a mend the next line starts a line of its own.
    files.AddFile(kPath, "a\r\nhal");
    file.Load();
    EXPECT_EQ(Append("b"), "a\r\nb\r\n");
}

// An older version wrote its lines in Windows-1252; this one appends UTF-8
// to the same file. Each line reads as what it is, and loading does not
// rewrite the old lines.
TEST_F(HistoryFileTest, LinesOfOlderVersionsAndOfThisOneReadAlike) {
    const std::string old = "echo caf\xE9\r\ncd \xACTEMP\xAC\r\n";
    files.AddFile(kPath, old);
    EXPECT_EQ(file.Load(), (Lines{"echo caf\xC3\xA9", "cd \xC2\xACTEMP\xC2\xAC"}));
    EXPECT_EQ(files.replaceCount, 0);
    EXPECT_EQ(Append("echo \xE2\x82\xAC"), old + "echo \xE2\x82\xAC\r\n");
    // The same line typed again now is the same line.
    Append("echo caf\xC3\xA9");
    HistoryFile again(files, pages, kPath);
    EXPECT_EQ(again.Load(),
              (Lines{"cd \xC2\xACTEMP\xC2\xAC", "echo \xE2\x82\xAC", "echo caf\xC3\xA9"}));
    // A compaction writes the console's own text.
    std::string err;
    ASSERT_TRUE(again.Compact(&err)) << err;
    EXPECT_EQ(files.Contents(kPath),
              "cd \xC2\xACTEMP\xC2\xAC\r\necho \xE2\x82\xAC\r\necho caf\xC3\xA9\r\n");
}

TEST_F(HistoryFileTest, LongLinesAreNotWrittenAndNothingChokesOnThem) {
    Append("short");
    const std::string huge(300000, 'x');
    EXPECT_EQ(Append(huge), "short\r\n");
    EXPECT_EQ(Append(std::string(kHistoryLineLimit, 'y')),
              "short\r\n" + std::string(kHistoryLineLimit, 'y') + "\r\n");
    // One in the file already (written by hand, or junk) is left out on
    // loading, and the file is written anew without it.
    for (const std::string& shed : {huge, std::string("echo \x01\x02junk")}) {
        files.AddFile(kPath, "a\r\n" + shed + "\r\nb\r\n");
        EXPECT_EQ(file.Load(), (Lines{"a", "b"}));
        EXPECT_EQ(files.Contents(kPath), "a\r\nb\r\n");
    }
}

// A start reads the file's end only; the rest comes in slices, a line far
// over the limit passed over without being held, and once it is all read
// the file is written anew without what it would not write.
TEST_F(HistoryFileTest, TheNewestLinesComeFirstAndTheRestInSlices) {
    std::string older = std::string(3 * HistoryFile::kNewestBytes, 'x') + "\r\n";
    const std::string pad(40, '.');
    for (int i = 0; i < 20000; ++i) older += "old " + std::to_string(i) + pad + "\r\n";
    std::string newest;
    for (int i = 0; i < 100; ++i) newest += "new " + std::to_string(i) + "\r\n";
    files.AddFile(kPath, older + newest);
    Lines first = file.LoadNewest();
    ASSERT_FALSE(first.empty());
    EXPECT_LT(first.size(), 20100u);
    EXPECT_EQ(first.back(), "new 99");
    EXPECT_TRUE(file.Loading());
    Append("typed meanwhile");
    int slices = 0;
    for (; file.Loading(); ++slices) file.LoadOlder(64 * 1024);
    EXPECT_GT(slices, 12);
    Lines rest = file.FinishLoad();
    EXPECT_EQ(rest.front(), "old 0" + pad);
    EXPECT_EQ(rest.size() + first.size(), 20100u);
    EXPECT_EQ(file.FinishLoad(), (Lines{}));
    // Written anew: the newest ten thousand, the line typed meanwhile last.
    const std::string text = files.Contents(kPath);
    EXPECT_EQ(text.find('x'), std::string::npos);
    EXPECT_EQ(text.rfind("old 10101" + pad + "\r\n", 0), 0u);
    EXPECT_TRUE(text.ends_with("new 99\r\ntyped meanwhile\r\n"));

    // A read that fails part of the way never has the file written anew
    // from the part it read.
    files.AddFile(kPath, older + newest);
    FaultInjector faults{4};  // the second slice
    files.faults = &faults;
    HistoryFile broken(files, pages, kPath);
    broken.Load();
    files.faults = nullptr;
    EXPECT_EQ(files.Contents(kPath), older + newest);

    // Nor when the file grew meanwhile by more than lines typed meanwhile
    // could make: something else rewrote it, and it is left alone.
    HistoryFile rewritten(files, pages, kPath);
    rewritten.LoadNewest();
    std::string grown = older + newest;
    for (size_t i = 0; i <= kHistoryLines; ++i) grown += std::string(62, 'z') + "\r\n";
    files.AddFile(kPath, grown);
    while (rewritten.Loading()) rewritten.LoadOlder(1 << 20);
    rewritten.FinishLoad();
    EXPECT_EQ(files.Contents(kPath), grown);
}

TEST_F(HistoryFileTest, CompactionRereadsTheFileSoHandEditsStayAndDropsOlderDuplicates) {
    file.Load();
    for (const char* line : {"a", "b", "c"}) Append(line);
    // Edited by hand meanwhile: a line taken out, two put in (the last
    // without its line end).
    files.AddFile(kPath, "a\r\nc\r\nmine\r\na\r\nmine too");
    std::string err;
    ASSERT_TRUE(file.Compact(&err)) << err;
    EXPECT_EQ(files.Contents(kPath), "c\r\nmine\r\na\r\nmine too\r\n");
    EXPECT_EQ(files.replaceCount, 1);
    // A failing rewrite leaves the file as it was.
    files.writeError = "The disk is full.";
    EXPECT_FALSE(file.Compact(&err));
    EXPECT_EQ(err, "The disk is full.");
    EXPECT_EQ(files.Contents(kPath), "c\r\nmine\r\na\r\nmine too\r\n");
}

TEST_F(HistoryFileTest, TheFileIsCompactedWhenItGrowsAQuarterPastItsCapOrRepeatsItself) {
    file.Load();
    for (size_t i = 0; i + 1 < kCompactAtLines; ++i) Append("echo " + std::to_string(i));
    EXPECT_EQ(files.replaceCount, 0);
    Append("last");
    EXPECT_EQ(files.replaceCount, 1);
    HistoryFile again(files, pages, kPath);
    Lines lines = again.Load();
    ASSERT_EQ(lines.size(), kHistoryLines);
    EXPECT_EQ(lines.back(), "last");
    EXPECT_EQ(lines.front(), "echo " + std::to_string(kCompactAtLines - kHistoryLines));

    for (size_t i = 0; i + 1 < kCompactAtDuplicates; ++i) Append("last", true);
    EXPECT_EQ(files.replaceCount, 1);
    Append("last", true);
    EXPECT_EQ(files.replaceCount, 2);
    EXPECT_EQ(again.Load().size(), kHistoryLines);

    // A file over its bounds is written anew on loading.
    std::string contents;
    for (size_t i = 0; i < kCompactAtLines; ++i) contents += "line " + std::to_string(i) + "\r\n";
    files.AddFile(kPath, contents);
    EXPECT_EQ(again.Load().size(), kHistoryLines);
    EXPECT_EQ(files.replaceCount, 3);
    EXPECT_EQ(files.Contents(kPath).rfind("line 2500\r\n", 0), 0u);
}

TEST_F(HistoryFileTest, AnAppendCutShortLosesOnlyItsOwnLine) {
    Append("kept");
    FaultInjector faults;
    files.faults = &faults;
    std::string err;
    for (faults.failAt = 1; faults.failAt <= 3; ++faults.failAt) {
        faults.calls = 0;
        file.Append("lost line", false, &err);
    }
    files.faults = nullptr;
    // The next line's append first takes away what the failed one left.
    Append("after");
    HistoryFile again(files, pages, kPath);
    EXPECT_EQ(again.Load(), (Lines{"kept", "lost line", "after"}));
}

}  // namespace
}  // namespace vantrel::testing
