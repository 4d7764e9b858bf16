#include "commands/dos_command.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kOut[] = "C:\\Temp\\DOS-4242.out";

class DosTest : public InterpreterTest {
  protected:
    DosTest() {
        os.files.AddFolder("C:\\Temp");
        os.files.AddFolder("C:\\Work");
        os.files.current = "C:\\Work";
    }

    // No temporary file of this console is left anywhere.
    bool NoTemporaryFiles() const {
        for (const auto& [key, contents] : os.files.files) {
            if (key.find("dos-4242.") != std::string::npos) return false;
        }
        return true;
    }
};

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

TEST_F(DosTest, CapturesStandardOutputLineByLineUpToALimit) {
    EXPECT_EQ(Output("dos echo hello"), "hello");
    ASSERT_EQ(os.processes.batches.size(), 1u);
    EXPECT_EQ(os.processes.batches[0].path, "C:\\Temp\\DOS-4242.bat");
    EXPECT_EQ(os.processes.batches[0].contents, "echo hello > \"C:\\Temp\\DOS-4242.out\"\r\n");

    os.processes.commandOutput = "a\r\n\r\nb\rc\r\n";
    EXPECT_EQ(Output("dos dir"), "a\n\nb\nc");
    os.processes.commandOutput = "";
    EXPECT_EQ(Output("dos cd ."), "");
    EXPECT_TRUE(NoTemporaryFiles());
    // Endless output is cut short.
    os.processes.commandOutput = std::string(3 << 20, 'y');
    EXPECT_EQ(Output("dos yes"),
              std::string(1 << 20, 'y') + "\nOnly the first 1048576 bytes of the output are shown");
    EXPECT_TRUE(NoTemporaryFiles());
}

// What console programs write: the OEM code page (850 here, where "é" is
// byte 82), UTF-8 after chcp 65001, UTF-16 from "cmd /u".
TEST_F(DosTest, OutputIsDecodedAsTheProgramWroteIt) {
    os.codePages.oem = [](unsigned char b) -> char32_t { return b == 0x82 ? U'\u00E9' : b; };
    struct Case {
        const char* name;
        std::string bytes;
        const char* out;
    } cases[] = {
        {"oem", "caf\x82\r\nok\r\n", "caf\xC3\xA9\nok"},
        {"utf-8", "caf\xC3\xA9\r\n\xE2\x82\xAC\r\n", "caf\xC3\xA9\n\xE2\x82\xAC"},
        {"utf-8 and oem lines", "caf\xC3\xA9\r\ncaf\x82\r\n", "caf\xC3\xA9\ncaf\xC3\xA9"},
        {"cmd /u", std::string("a\0\xE9\0\r\0\n\0b\0\r\0\n\0", 14), "a\xC3\xA9\nb"},
        {"utf-16 mark",
         std::string("\xFF\xFE"
                     "a\0\r\0\n\0",
                     8),
         "a"},
        {"utf-16be mark", std::string("\xFE\xFF\0a\0\xE9", 6), "a\xC3\xA9"},
        {"utf-8 mark",
         "\xEF\xBB\xBF"
         "caf\xC3\xA9\r\n",
         "caf\xC3\xA9"},
    };
    for (const Case& c : cases) {
        os.processes.commandOutput = c.bytes;
        EXPECT_EQ(Output("dos x"), c.out) << c.name;
    }
    // The line itself goes to the interpreter in its code page, and what it
    // echoes comes back as the same text.
    EXPECT_EQ(Output("dos echo caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(os.processes.batches.back().contents,
              "echo caf\x82 > \"C:\\Temp\\DOS-4242.out\"\r\n");
}

// A look at the file may catch a character half written; its first bytes
// wait for the rest.
TEST_F(DosTest, ACharacterSplitAcrossLooksIsJoined) {
    struct Case {
        const char* name;
        std::vector<std::string> written;
        const char* out;
    } cases[] = {
        {"utf-8", {"caf\xC3", "\xA9\r\n\xE2", "\x82", "\xAC\r\n"}, "caf\xC3\xA9\n\xE2\x82\xAC"},
        {"utf-16 unit",
         {std::string("a\0\xE9", 3), std::string("\0\r\0\n", 4), std::string("\0", 1)},
         "a\xC3\xA9"},
        {"utf-16 pair",
         {std::string("\xFF\xFE\x3D\xD8", 4), std::string("\x00\xDE\r\0\n\0", 6)},
         "\xF0\x9F\x98\x80"},
        {"utf-16 guess after one byte", {"o", std::string("\0k\0\r\0\n\0", 7)}, "ok"},
    };
    for (const Case& c : cases) {
        os.processes.onBatch = [&](const std::string&) {};
        os.processes.waitsToEnd = static_cast<int>(c.written.size());
        os.processes.onWait = [&](int wait) {
            std::string err;
            if (wait < static_cast<int>(c.written.size()))
                os.files.AppendFile(kOut, c.written[wait], &err);
        };
        EXPECT_EQ(Output("dos x"), c.out) << c.name;
        EXPECT_TRUE(NoTemporaryFiles()) << c.name;
    }
}

TEST_F(DosTest, TheTemporaryFolderIsTempOrTheRootOfTheDrive) {
    os.files.AddFolder("C:\\My Temp");
    struct Case {
        const char* temp;  // nullptr: TEMP is not set
        const char* writeError;
        const char* output;
        const char* batch;  // "" when nothing may run
    } cases[] = {
        {"C:\\My Temp\\", "", "spaced", "C:\\My Temp\\DOS-4242.bat"},
        {nullptr, "", "rooted", "\\DOS-4242.bat"},
        {"C:\\Nowhere", "", "Error creating temporary batch file", ""},
        // A full disk leaves no half-written batch file to run.
        {"C:\\Temp", "There is not enough space on the disk.",
         "Error creating temporary batch file", ""},
    };
    for (const Case& c : cases) {
        os.environment.variables = {{"PATH", "C:\\Windows"}};
        if (c.temp) os.environment.variables.push_back({"TEMP", c.temp});
        os.files.writeError = c.writeError;
        os.processes.batches.clear();
        EXPECT_EQ(Output(std::string("dos echo ") + c.output), c.output) << c.output;
        EXPECT_EQ(os.processes.batches.empty() ? "" : os.processes.batches[0].path, c.batch);
        EXPECT_TRUE(NoTemporaryFiles()) << c.output;
    }
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

}  // namespace
}  // namespace vantrel::testing
