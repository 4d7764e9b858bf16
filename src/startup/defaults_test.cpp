#include "startup/defaults.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using DefaultsTest = InterpreterTest;

TEST_F(DefaultsTest, AssignsEverySetting) {
    struct Case {
        const char* name;
        const char* value;
    } cases[] = {
        {"CurDir", "C:\\"},
        {"ShortcutFolder", "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts"},
        {"DesktopUser", "C:\\Users\\me\\Desktop"},
        {"DesktopPublic", "C:\\ProgramData\\Desktop"},
        {"ColourPromptText", "#0099FF"}, {"ColourPromptBg", "#000000"},
        {"ColourPromptBusyText", "#000000"}, {"ColourPromptBusyBg", "#0099FF"},
        {"ColourCommandText", "#D0D0D0"}, {"ColourCommandBg", "#000000"},
        {"ColourCommandBusyText", "#000000"}, {"ColourCommandBusyBg", "#D0D0D0"},
        {"ColourOutputText", "#00C000"}, {"ColourOutputBg", "#000000"},
        {"WinX", "0"}, {"WinY", "0"}, {"WinWidth", "1280"},
        {"AlwaysOnTop", "1"}, {"EnterButton", "0"}, {"Echo", "0"}, {"OutputKeep", "0"},
        {"OutputMaxSize", "20"}, {"OutputMaxMem", "60"}, {"VarString", "`"},
        {"VarEnvString", "\xAC"}, {"CmdSepString", "|"}, {"FocusKey", "A3"}, {"FocusKeyDel", "0"},
        {"F1", "{HOME}help {ENTER}"}, {"F2", "{HOME}cdd {ENTER}"}, {"F3", "{HOME}dir {ENTER}"},
        {"F4", "{HOME}http://{ENTER}"}, {"F5", "{HOME}http://www.{END}.com{ENTER}"},
        {"F6", "{HOME}http://www.{END}.net{ENTER}"}, {"F7", "{HOME}http://www.{END}.org{ENTER}"},
        {"F8", "{HOME}http://www.{END}.co.uk{ENTER}"}, {"F9", "{HOME}+{END}hide{ENTER}"},
        {"F10", "{HOME}+{END}exit"}, {"F11", "{HOME}+{END}@echo on{ENTER}@keepoutput on{ENTER}"},
        {"F12", "{HOME}+{END}@echo off{ENTER}@keepoutput off{ENTER}"},
        {"PortDefault", "2319"}, {"LoginAttempts", "3"}, {"LoginFailBan", "1"},
    };
    EXPECT_EQ(std::size(cases), 43u);
    EXPECT_EQ(in.Vars().VarNames().size(), 43u);
    for (const Case& c : cases) EXPECT_EQ(in.EvaluateText(c.name), c.value) << c.name;
    EXPECT_EQ(in.EvaluateText("VarEnvString").size(), 1u);
}

TEST_F(DefaultsTest, FoldersFollowTheEnvironment) {
    os.environment.variables = {{"ALLUSERSPROFILE", "D:\\All\\"}, {"PUBLIC", "D:\\Users\\Public"}};
    AssignDefaults(in, 1024);
    EXPECT_EQ(in.EvaluateText("ShortcutFolder"), "D:\\All\\Orvane\\Vantrel\\Shortcuts");
    EXPECT_EQ(in.EvaluateText("DesktopPublic"), "D:\\Users\\Public\\Desktop");
    EXPECT_EQ(in.EvaluateText("DesktopUser"), "\\Desktop");
    EXPECT_EQ(in.EvaluateText("WinWidth"), "1024");
    os.environment.variables = {{"ALLUSERSPROFILE", "E:/All/"}};
    AssignDefaults(in, 1024);
    EXPECT_EQ(AllUsersFolder(in), "E:/All");
    EXPECT_EQ(in.EvaluateText("DesktopPublic"), "E:/All\\Desktop");
}

}  // namespace
}  // namespace vantrel::testing
