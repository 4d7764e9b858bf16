#include "startup/autoexec.h"

#include "interpreter/launch.h"
#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kFolder[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";
constexpr char kAutoexec[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\Autoexec.dcb";

class AutoexecTest : public InterpreterTest {
  protected:
    AutoexecTest() {
        for (const char* folder : {"C:\\ProgramData", "C:\\ProgramData\\Orvane",
                                   "C:\\ProgramData\\Orvane\\Vantrel", kFolder})
            os.files.AddFolder(folder);
    }
};

TEST(WithPlacement, KeepsEveryLineButThePlacementLines) {
    using Lines = std::vector<std::string>;
    const std::tuple<const char*, Lines, const char*> cases[] = {
        {"set a=1\r\ndock top\r\nWinPos 5 5\r\n",
         {"winpos 100 200 800", "dock off"},
         "winpos 100 200 800\r\ndock off\r\nset a=1\r\n"},
        {"set a=1\r\ndock off\r\n", {"dock bottom"}, "dock bottom\r\nset a=1\r\n"},
        {"DOCK BOTTOM\r\ncolour output bg red\r\n", {}, "colour output bg red\r\n"},
        // Only "dock " and "winpos " at the very start are placement lines.
        {"dock\r\nwinpos\r\n  dock top\r\ndocker x\r\nwinposx 1\r\n",
         {},
         "dock\r\nwinpos\r\n  dock top\r\ndocker x\r\nwinposx 1\r\n"},
        // Empty lines stay, other line ends become CR LF, a last line
        // without one gets it.
        {"a\r\n\r\nb\rc\nd", {}, "a\r\n\r\nb\r\nc\r\nd\r\n"},
        {"", {}, ""},
        {"", {"dock bottom"}, "dock bottom\r\n"},
    };
    for (const auto& [before, placement, after] : cases)
        EXPECT_EQ(WithPlacement(before, placement), after) << before;
}

// SAVEPOS over files of each encoding, and an old Windows-1252 batch file
// ("¬" is byte AC, "é" byte E9) in a UTF-8 process, are in savepos.dcb. In a
// process whose text is Windows-1252 the old file runs as before too, and is
// read, not rewritten.
TEST_F(AutoexecTest, AnOldWindows1252AutoexecRunsInALegacyProcess) {
    const char old[] = "echo \xACTEMP\xAC\r\necho caf\xE9\r\n";
    os.codePages.processIsUtf8 = false;
    os.files.AddFile(kAutoexec, old);
    in.SetVar("VarEnvString", "\xAC");
    in.SetVar("OutputKeep", "1");
    in.PendingOutput().clear();
    std::string err;
    ASSERT_TRUE(RunBatch(in, kAutoexec, "", &err)) << err;
    EXPECT_EQ(in.PendingOutput(), "C:\\Temp\r\ncaf\xE9");
    EXPECT_EQ(os.files.Contents(kAutoexec), old);
}

// A full disk, a read-only file (the user's wish to keep it), a shortcut
// folder that is gone: the file keeps its text, nothing is written anywhere
// else, and SAVEPOS itself stays silent.
TEST_F(AutoexecTest, NoFailureEmptiesTheFile) {
    const std::string lines = "set a=1\r\ncolour output bg red\r\n";
    const std::string full = "There is not enough space on the disk.";
    const std::tuple<std::string, bool, const char*, std::string> cases[] = {
        {full, false, kFolder, full},
        {"", true, kFolder, kAccessDenied},
        {"", false, "C:\\Gone", kPathNotFound},
    };
    host.placement.dock = DockState::kBottom;
    for (const auto& [writeError, readOnly, folder, error] : cases) {
        os.files.AddFile(kAutoexec, lines);
        os.files.At(kAutoexec).readOnly = readOnly;
        os.files.writeError = writeError;
        in.SetVar("ShortcutFolder", folder);
        std::string err;
        EXPECT_FALSE(SavePlacement(in, host.placement.dock, std::nullopt, &err)) << error;
        EXPECT_EQ(err, error);
        EXPECT_EQ(Output("savepos"), "") << error;
        EXPECT_EQ(os.files.Contents(kAutoexec), lines) << error;
        EXPECT_FALSE(os.files.HasFile("C:\\Gone\\Autoexec.dcb")) << error;
    }
}

TEST_F(AutoexecTest, OpenAutoexecOpensTheQuotedPath) {
    OpenAutoexec(in);
    os.processes.startError = "No editor";
    OpenAutoexec(in);  // a failure to start is not reported
    EXPECT_EQ(in.PendingOutput(), "");
    const std::string started = std::string("Notepad.exe \"") + kAutoexec + "\"";
    EXPECT_EQ(os.processes.started,
              (std::vector<FakeProcesses::StartCall>{{started, 1}, {started, 1}}));
}

}  // namespace
}  // namespace vantrel::testing
