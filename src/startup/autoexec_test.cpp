#include "startup/autoexec.h"

#include "interpreter/launch.h"
#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using namespace std::string_literals;

constexpr char kAutoexec[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\Autoexec.dcb";

class AutoexecTest : public InterpreterTest {
  protected:
    AutoexecTest() {
        for (const char* folder :
             {"C:\\ProgramData", "C:\\ProgramData\\Orvane", "C:\\ProgramData\\Orvane\\Vantrel",
              "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts"})
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

// SAVEPOS in turn: the file before (none: as the last row left it), the
// placement, the file after. The user's lines are written as the console's
// text whatever the file's encoding was.
TEST_F(AutoexecTest, SavePosPutsThePlacementFirst) {
    os.environment.variables.erase(os.environment.variables.begin() + 2);  // needs no TEMP
    in.SetVar("WinX", "1.5");
    in.SetVar("WinY", "-3");
    in.SetVar("WinWidth", "800");
    const DockState bottom = DockState::kBottom;
    const std::tuple<std::optional<std::string>, DockState, const char*> cases[] = {
        {std::nullopt, bottom, "dock bottom\r\n"},  // made when missing
        {"set a=1\r\ndock top\r\nWinPos 5 5\r\n", DockState::kFloating,
         "winpos 1.5 -3 800\r\ndock off\r\nset a=1\r\n"},
        {std::nullopt, bottom, "dock bottom\r\nset a=1\r\n"},
        {std::nullopt, DockState::kTop, "set a=1\r\n"},  // where every start puts the bar
        {"echo caf\xE9\r\ndock top\r\n", bottom, "dock bottom\r\necho caf\xC3\xA9\r\n"},
        {"echo caf\xC3\xA9\r\n", bottom, "dock bottom\r\necho caf\xC3\xA9\r\n"},
        {"\xEF\xBB\xBF"
         "echo caf\xC3\xA9\r\n",
         bottom, "dock bottom\r\necho caf\xC3\xA9\r\n"},
        {"\xFF\xFE"
         "e\0\xE9\0\r\0\n\0"s,
         bottom, "dock bottom\r\ne\xC3\xA9\r\n"},
        {"echo \xE9\r\necho \xC3\xA9\r\n", bottom,
         "dock bottom\r\necho \xC3\xA9\r\necho \xC3\xA9\r\n"},
    };
    for (const auto& [before, dock, after] : cases) {
        if (before) os.files.AddFile(kAutoexec, *before);
        host.placement.dock = dock;
        EXPECT_EQ(Output(dock == DockState::kTop ? "SAVEPOS" : "savepos"), "") << after;
        EXPECT_EQ(os.files.Contents(kAutoexec), after);
    }
}

// An Autoexec.dcb of an older version, in Windows-1252 ("¬" is byte AC, "é"
// byte E9), runs as before, in a process of either kind; it is read, not
// rewritten.
TEST_F(AutoexecTest, AnOldWindows1252AutoexecRunsAsBefore) {
    const char old[] = "echo \xACTEMP\xAC\r\necho caf\xE9\r\n";
    // Whether the process is UTF-8, its VarEnvString, the output.
    const std::tuple<bool, const char*, const char*> cases[] = {
        {true, "\xC2\xAC", "C:\\Temp\r\ncaf\xC3\xA9"},
        {false, "\xAC", "C:\\Temp\r\ncaf\xE9"},
    };
    for (auto [processIsUtf8, marker, output] : cases) {
        os.codePages.processIsUtf8 = processIsUtf8;
        os.files.AddFile(kAutoexec, old);
        in.SetVar("VarEnvString", marker);
        in.SetVar("OutputKeep", "1");
        in.PendingOutput().clear();
        std::string err;
        ASSERT_TRUE(RunBatch(in, kAutoexec, "", &err)) << err;
        EXPECT_EQ(in.PendingOutput(), output) << processIsUtf8;
        EXPECT_EQ(os.files.Contents(kAutoexec), old) << processIsUtf8;
    }
}

TEST_F(AutoexecTest, NoFailureEmptiesTheFile) {
    const std::string lines = "set a=1\r\ncolour output bg red\r\n";
    os.files.AddFile(kAutoexec, lines);
    host.placement.dock = DockState::kBottom;
    std::string err;
    // A full disk: the new text never replaces the old one.
    os.files.writeError = "There is not enough space on the disk.";
    EXPECT_FALSE(SavePlacement(in, host.placement.dock, std::nullopt, &err));
    EXPECT_EQ(err, "There is not enough space on the disk.");
    EXPECT_EQ(os.files.Contents(kAutoexec), lines);
    EXPECT_EQ(Output("savepos"), "");  // the command itself stays silent
    EXPECT_EQ(os.files.Contents(kAutoexec), lines);
    os.files.writeError.clear();
    // A read-only file is the user's wish to keep it.
    os.files.At(kAutoexec).readOnly = true;
    EXPECT_FALSE(SavePlacement(in, host.placement.dock, std::nullopt, &err));
    EXPECT_EQ(err, kAccessDenied);
    EXPECT_EQ(os.files.Contents(kAutoexec), lines);
    os.files.At(kAutoexec).readOnly = false;
    // A shortcut folder that is gone: nothing is written anywhere.
    in.SetVar("ShortcutFolder", "C:\\Gone");
    EXPECT_FALSE(SavePlacement(in, host.placement.dock, std::nullopt, &err));
    EXPECT_FALSE(os.files.HasFile("C:\\Gone\\Autoexec.dcb"));
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
