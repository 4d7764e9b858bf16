#include "startup/autoexec.h"

#include <gtest/gtest.h>

#include "interpreter/launch.h"
#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kAutoexec[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\Autoexec.dcb";

class AutoexecTest : public InterpreterTest {
  protected:
    AutoexecTest() {
        for (const char* folder :
             {"C:\\ProgramData", "C:\\ProgramData\\Orvane", "C:\\ProgramData\\Orvane\\Vantrel",
              "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts"}) {
            os.files.AddFolder(folder);
        }
    }
};

TEST(WithPlacement, KeepsEveryLineButThePlacementLines) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* before;
        Lines placement;
        const char* after;
    } cases[] = {
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
    for (const Case& c : cases)
        EXPECT_EQ(WithPlacement(c.before, c.placement), c.after) << c.before;
}

TEST_F(AutoexecTest, SavePosPutsThePlacementFirst) {
    os.environment.variables.erase(os.environment.variables.begin() + 2);  // needs no TEMP
    host.placement.dock = DockState::kBottom;
    EXPECT_EQ(Output("savepos"), "");
    EXPECT_EQ(os.files.Contents(kAutoexec), "dock bottom\r\n");  // made when missing
    os.files.AddFile(kAutoexec, "set a=1\r\ndock top\r\nWinPos 5 5\r\n");
    host.placement.dock = DockState::kFloating;
    in.SetVar("WinX", "1.5");
    in.SetVar("WinY", "-3");
    in.SetVar("WinWidth", "800");
    EXPECT_EQ(Output("savepos"), "");
    EXPECT_EQ(os.files.Contents(kAutoexec), "winpos 1.5 -3 800\r\ndock off\r\nset a=1\r\n");
    host.placement.dock = DockState::kBottom;
    EXPECT_EQ(Output("SAVEPOS"), "");
    EXPECT_EQ(os.files.Contents(kAutoexec), "dock bottom\r\nset a=1\r\n");
    host.placement.dock = DockState::kTop;  // where every start puts the bar
    EXPECT_EQ(Output("savepos"), "");
    EXPECT_EQ(os.files.Contents(kAutoexec), "set a=1\r\n");
}

// An Autoexec.dcb of an older version, in Windows-1252: "¬" is byte AC,
// "é" byte E9.
constexpr char kOldAutoexec[] = "echo \xACTEMP\xAC\r\necho caf\xE9\r\n";

TEST_F(AutoexecTest, AnOldWindows1252AutoexecRunsAsBefore) {
    struct Case {
        const char* name;
        bool processIsUtf8;
        const char* marker;  // the VarEnvString of a process of that kind
        const char* output;
    } cases[] = {
        {"utf-8 process", true, "\xC2\xAC", "C:\\Temp\r\ncaf\xC3\xA9"},
        {"legacy process", false, "\xAC", "C:\\Temp\r\ncaf\xE9"},
    };
    for (const Case& c : cases) {
        os.codePages.processIsUtf8 = c.processIsUtf8;
        os.files.AddFile(kAutoexec, kOldAutoexec);
        in.SetVar("VarEnvString", c.marker);
        in.SetVar("OutputKeep", "1");
        in.PendingOutput().clear();
        std::string err;
        ASSERT_TRUE(RunBatch(in, kAutoexec, "", &err)) << err;
        EXPECT_EQ(in.PendingOutput(), c.output) << c.name;
        EXPECT_EQ(os.files.Contents(kAutoexec), kOldAutoexec) << c.name;  // read, not rewritten
    }
}

TEST_F(AutoexecTest, SavePosWritesTheUsersLinesAsTheConsolesText) {
    struct Case {
        const char* name;
        std::string before;
        const char* after;
    } cases[] = {
        {"windows-1252", "echo caf\xE9\r\ndock top\r\n", "dock bottom\r\necho caf\xC3\xA9\r\n"},
        {"utf-8", "echo caf\xC3\xA9\r\n", "dock bottom\r\necho caf\xC3\xA9\r\n"},
        {"utf-8 with its mark",
         "\xEF\xBB\xBF"
         "echo caf\xC3\xA9\r\n",
         "dock bottom\r\necho caf\xC3\xA9\r\n"},
        {"utf-16",
         std::string("\xFF\xFE"
                     "e\0\xE9\0\r\0\n\0",
                     10),
         "dock bottom\r\ne\xC3\xA9\r\n"},
        {"both", "echo \xE9\r\necho \xC3\xA9\r\n",
         "dock bottom\r\necho \xC3\xA9\r\necho \xC3\xA9\r\n"},
    };
    host.placement.dock = DockState::kBottom;
    for (const Case& c : cases) {
        os.files.AddFile(kAutoexec, c.before);
        EXPECT_EQ(Output("savepos"), "") << c.name;
        EXPECT_EQ(os.files.Contents(kAutoexec), c.after) << c.name;
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
    ASSERT_EQ(os.processes.started.size(), 1u);
    EXPECT_EQ(os.processes.started[0],
              (FakeProcesses::StartCall{std::string("Notepad.exe \"") + kAutoexec + "\"", 1}));
    os.processes.startError = "No editor";
    OpenAutoexec(in);  // a failure to start is not reported
    EXPECT_EQ(in.PendingOutput(), "");
}

}  // namespace
}  // namespace vantrel::testing
