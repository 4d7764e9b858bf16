#include "commands/dos_command.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using namespace std::string_literals;

constexpr char kOut[] = "C:\\Temp\\DOS-4242.out";
constexpr char kCut[] = "Only the first 1048576 bytes of the output are shown";

class DosTest : public InterpreterTest {
  protected:
    DosTest() {
        os.files.AddFolder("C:\\Temp");
        os.files.AddFolder("C:\\Work");
        os.files.current = "C:\\Work";
    }
    // No temporary file of this console is left anywhere.
    bool NoTemporaryFiles() const {
        for (const auto& [key, contents] : os.files.files)
            if (key.find("dos-4242.") != std::string::npos) return false;
        return true;
    }
    // The run writes the output file a piece at each look, ending after the
    // last piece (or never: stopAt stops it at that look).
    void WriteAtLooks(const std::vector<std::string>& pieces, int stopAt = -1) {
        os.processes.onBatch = [](const std::string&) {};
        os.processes.waitsToEnd = stopAt < 0 ? static_cast<int>(pieces.size()) : -1;
        os.processes.onWait = [this, pieces, stopAt](int wait) {
            std::string err;
            if (wait < static_cast<int>(pieces.size()))
                os.files.AppendFile(kOut, pieces[wait], &err);
            if (wait == stopAt) in.RequestStop();
        };
    }
};

// How each kind of bytes decodes is the decoder's own test; here only that a
// run decodes as a console program writes: the OEM code page (850 here, where
// "é" is byte 82), or UTF-16 from "cmd /u" guessed by its zeros; that every
// line end ends a line; and that endless output is cut. The batch files run,
// and the temporary folder, are in dos.dcb.
TEST_F(DosTest, OutputIsDecodedAsTheProgramWroteItUpToALimit) {
    os.codePages.oem = [](unsigned char b) -> char32_t { return b == 0x82 ? U'\u00E9' : b; };
    const std::pair<std::string, std::string> cases[] = {
        {"caf\x82\r\nok\r\n", "caf\xC3\xA9\nok"},
        {"a\0\xE9\0\r\0\n\0b\0\r\0\n\0"s, "a\xC3\xA9\nb"},
        {"a\r\n\r\nb\rc\r\n", "a\n\nb\nc"},
        {"", ""},
        {std::string(3 << 20, 'y'), std::string(1 << 20, 'y') + "\n" + kCut},
    };
    for (const auto& [written, out] : cases) {
        os.processes.commandOutput = written;
        EXPECT_EQ(Output("dos x"), out) << written.substr(0, 10);
        EXPECT_TRUE(NoTemporaryFiles()) << written.substr(0, 10);
    }
    // The line itself goes to the interpreter in its code page, and what it
    // echoes comes back as the same text.
    EXPECT_EQ(Output("dos echo caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(os.processes.batches.back().contents,
              "echo caf\x82 > \"C:\\Temp\\DOS-4242.out\"\r\n");
}

TEST_F(DosTest, AStaleOutputFileIsGoneBeforeTheRun) {
    os.files.AddFile(kOut, "stale\r\n");
    bool staleSeen = true;
    os.processes.onBatch = [&](const std::string&) { staleSeen = os.files.HasFile(kOut); };
    EXPECT_EQ(Output("dos echo x"), "Error reading output file");
    EXPECT_FALSE(staleSeen);
    EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(DosTest, OutputShowsAsItComesAndAStopEndsTheRunAndItsFiles) {
    // A command that writes a little at every look and never ends: a line
    // split across looks, a CR LF split across two after a whole line, then
    // a whole line and the start of the next.
    WriteAtLooks({"par", "tial\r\nnext\r", "\nmore\r\nlast"}, 3);
    std::vector<std::string> shown;
    auto write = os.processes.onWait;
    os.processes.onWait = [&](int wait) {
        shown.push_back(Shown(in.PendingOutput()));
        write(wait);
    };
    EXPECT_EQ(Output("dos forever"), "partial\nnext\nmore\nlast\nDOS command stopped");
    EXPECT_EQ(shown, (std::vector<std::string>{"<FF>", "<FF>", "<FF>\npartial",
                                               "<FF>\npartial\nnext\nmore"}));
    EXPECT_TRUE(os.processes.batches.back().stopped);
    EXPECT_TRUE(NoTemporaryFiles());
    // A run with its own redirection shows no output, only the stop.
    WriteAtLooks({}, 0);
    EXPECT_EQ(Output("dos loop > x"), "DOS command stopped");
    EXPECT_TRUE(NoTemporaryFiles());
}

}  // namespace
}  // namespace vantrel::testing
