#include "commands/dos_command.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kBatch[] = "C:\\Temp\\DOS-4242.bat";
constexpr char kOut[] = "C:\\Temp\\DOS-4242.out";

class DosTest : public InterpreterTest {
  protected:
    DosTest() {
        os.files.AddFolder("C:\\Temp");
        os.files.AddFolder("C:\\Work");
        os.files.current = "C:\\Work";
    }

    void SetTemp(const std::string& value) { os.environment.variables[2].second = value; }
    void UnsetTemp() { os.environment.variables.erase(os.environment.variables.begin() + 2); }

    // No temporary file of this console is left in the folder.
    bool NoTemporaryFiles(const std::string& folder = "C:\\Temp") {
        return os.files.Find(folder + "\\DOS-4242.*", FileMask::kFiles).empty();
    }
};

TEST(DosNames, TemporaryFilesPerProcess) {
    struct Case {
        const char* temp;
        unsigned long pid;
        const char* batch;
        const char* output;
    } cases[] = {
        {"C:\\Temp", 7, "C:\\Temp\\DOS-7.bat", "C:\\Temp\\DOS-7.out"},
        {"C:\\Temp\\", 7, "C:\\Temp\\DOS-7.bat", "C:\\Temp\\DOS-7.out"},
        {"", 123, "\\DOS-123.bat", "\\DOS-123.out"},
        {"C:\\My Temp", 4294967295UL, "C:\\My Temp\\DOS-4294967295.bat",
         "C:\\My Temp\\DOS-4294967295.out"},
    };
    for (const Case& c : cases) {
        DosFiles files = DosTempFiles(c.temp, c.pid);
        EXPECT_EQ(files.batch, c.batch) << c.temp;
        EXPECT_EQ(files.output, c.output) << c.temp;
    }
}

TEST(DosNames, RedirectionOnlyWithoutTheUsersOwn) {
    struct Case {
        const char* text;
        const char* line;
        bool capture;
    } cases[] = {
        {"dir", "dir > \"C:\\My Temp\\o.out\"", true},
        {"echo a b", "echo a b > \"C:\\My Temp\\o.out\"", true},
        {"dir > list.txt", "dir > list.txt", false},
        {"dir >> list.txt", "dir >> list.txt", false},
        {"echo a>b", "echo a>b", false},
        {"dir 2>nul", "dir 2>nul", false},
    };
    for (const Case& c : cases) {
        bool capture = !c.capture;
        EXPECT_EQ(DosBatchLine(c.text, "C:\\My Temp\\o.out", &capture), c.line) << c.text;
        EXPECT_EQ(capture, c.capture) << c.text;
    }
}

TEST_F(DosTest, SyntaxWithoutACommand) {
    EXPECT_EQ(Output("dos"), "Syntax: DOS command");
    EXPECT_EQ(Output("DOS    "), "Syntax: DOS command");
    EXPECT_TRUE(os.processes.batches.empty());
}

TEST_F(DosTest, CapturesStandardOutputLineByLine) {
    EXPECT_EQ(Output("dos echo hello"), "hello");
    ASSERT_EQ(os.processes.batches.size(), 1u);
    EXPECT_EQ(os.processes.batches[0].path, kBatch);
    EXPECT_EQ(os.processes.batches[0].contents, "echo hello > \"C:\\Temp\\DOS-4242.out\"\r\n");
    EXPECT_TRUE(NoTemporaryFiles());

    os.processes.commandOutput = "a\r\n\r\nb\rc\r\n";
    EXPECT_EQ(Output("dos dir"), "a\n\nb\nc");
    os.processes.commandOutput = "";
    EXPECT_EQ(Output("dos cd ."), "");
    EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(DosTest, TheUsersOwnRedirectionPrintsNothing) {
    os.processes.commandOutput = "listing\r\n";
    EXPECT_EQ(Output("dos dir > list.txt"), "");
    EXPECT_EQ(os.processes.batches.back().contents, "dir > list.txt\r\n");
    EXPECT_EQ(os.files.Contents("C:\\Work\\list.txt"), "listing\r\n");
    EXPECT_EQ(Output("dos echo a>b"), "");
    EXPECT_EQ(os.files.Contents("C:\\Work\\b"), "a\r\n");
    EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(DosTest, TempWithTrailingBackslashOrBlank) {
    os.files.AddFolder("C:\\My Temp");
    SetTemp("C:\\My Temp\\");
    EXPECT_EQ(Output("dos echo spaced"), "spaced");
    EXPECT_EQ(os.processes.batches.back().path, "C:\\My Temp\\DOS-4242.bat");
    EXPECT_EQ(os.processes.batches.back().contents,
              "echo spaced > \"C:\\My Temp\\DOS-4242.out\"\r\n");
    EXPECT_TRUE(NoTemporaryFiles("C:\\My Temp"));
}

TEST_F(DosTest, TempUnsetUsesTheRootOfTheCurrentDrive) {
    UnsetTemp();
    EXPECT_EQ(Output("dos echo rooted"), "rooted");
    EXPECT_EQ(os.processes.batches.back().path, "\\DOS-4242.bat");
    EXPECT_TRUE(NoTemporaryFiles("C:\\"));
}

TEST_F(DosTest, MissingTempFolderStartsNothing) {
    SetTemp("C:\\Nowhere");
    EXPECT_EQ(Output("dos echo x"), "Error creating temporary batch file");
    EXPECT_TRUE(os.processes.batches.empty());
    EXPECT_TRUE(NoTemporaryFiles("C:\\Nowhere"));
}

TEST_F(DosTest, FullDiskLeavesNoHalfWrittenBatchFile) {
    os.files.writeError = "There is not enough space on the disk.";
    EXPECT_EQ(Output("dos echo x"), "Error creating temporary batch file");
    EXPECT_TRUE(os.processes.batches.empty());
    EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(DosTest, FilesAreDeletedWhateverHappens) {
    // A stale output file of an earlier run is gone before the new run.
    os.files.AddFile(kOut, "stale\r\n");
    bool staleSeen = true;
    os.processes.onBatch = [&](const std::string&) { staleSeen = os.files.HasFile(kOut); };
    EXPECT_EQ(Output("dos echo x"), "Error reading output file");
    EXPECT_FALSE(staleSeen);
    EXPECT_TRUE(NoTemporaryFiles());

    // The interpreter could not be started.
    os.processes.onBatch = nullptr;
    os.processes.startError = "The system cannot find the file specified.";
    EXPECT_EQ(Output("dos echo x"), "Error reading output file");
    EXPECT_TRUE(NoTemporaryFiles());
    EXPECT_EQ(Output("dos echo x > y"), "The system cannot find the file specified.");
    EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(DosTest, OutputShowsAsItComesAndAStopEndsTheRunAndItsFiles) {
    // A command that writes a little at every look and never ends: a line
    // split across looks, a CR LF split across two, then whole lines.
    const char* written[] = {"par", "tial\r", "\nnext\r\n", "more\r\nlast"};
    std::vector<std::string> shown;
    os.processes.onBatch = [&](const std::string&) {};
    os.processes.waitsToEnd = -1;
    os.processes.onWait = [&](int wait) {
        shown.push_back(Shown(in.PendingOutput()));
        std::string err;
        if (wait < 4) os.files.AppendFile(kOut, written[wait], &err);
        if (wait == 4) in.RequestStop();
    };
    EXPECT_EQ(Output("dos forever"), "partial\nnext\nmore\nlast\nDOS command stopped");
    EXPECT_EQ(shown, (std::vector<std::string>{"<FF>", "<FF>", "<FF>", "<FF>\npartial\nnext",
                                               "<FF>\npartial\nnext\nmore"}));
    EXPECT_TRUE(os.processes.batches.back().stopped);
    EXPECT_TRUE(NoTemporaryFiles());

    // A run with its own redirection shows no output, only the stop.
    os.processes.onWait = [&](int) { in.RequestStop(); };
    EXPECT_EQ(Output("dos loop > x"), "DOS command stopped");
    EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(DosTest, EndlessOutputIsCutShort) {
    os.processes.commandOutput = std::string(3 << 20, 'y');
    std::string out = Output("dos yes");
    EXPECT_EQ(out,
              std::string(1 << 20, 'y') + "\nOnly the first 1048576 bytes of the output are shown");
    EXPECT_TRUE(NoTemporaryFiles());
}

}  // namespace
}  // namespace vantrel::testing
