#include "console/console.h"

#include <gtest/gtest.h>

#include "commands/command_table.h"
#include "console/output_pump.h"
#include "fake_console.h"
#include "fake_platform.h"
#include "fake_socket.h"
#include "interpreter/text.h"

namespace vantrel {
namespace {

using testing::FakeConsoleWindow;
using testing::FakePane;
using testing::FakePlatform;
using testing::FakeTray;

const char kShortcuts[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";
const char kAutoexec[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\Autoexec.dcb";

class ConsoleTest : public ::testing::Test {
  protected:
    ConsoleTest() {
        fake.environment.variables = {{"ALLUSERSPROFILE", "C:\\ProgramData"},
                                      {"USERPROFILE", "C:\\Users\\Me"},
                                      {"PUBLIC", "C:\\Users\\Public"}};
        fake.files.AddFolder("C:\\ProgramData");
        console.AttachSocket(socket);
    }

    // Ticks until nothing is pending, as the timer would.
    void TickUntilIdle() {
        for (int i = 0; i < 10 && !console.In().PendingOutput().empty(); ++i) console.Tick();
    }

    std::string WelcomeText() const {
        std::string text;
        for (const char* line : kWelcomeLines)
            text += (text.empty() ? "" : "\r\n") + std::string(line);
        return text;
    }

    FakePlatform fake;
    FakeConsoleWindow window;
    FakePane pane;
    FakeTray tray;
    testing::FakeSocket socket;
    Console console{fake.platform, window, pane, tray, BuiltInCommands()};
};

TEST_F(ConsoleTest, FirstStartMakesTheFoldersAndShowsTheWelcomeText) {
    console.StartUp("");

    for (const char* folder :
         {"C:\\ProgramData\\Orvane", "C:\\ProgramData\\Orvane\\Vantrel", kShortcuts}) {
        EXPECT_TRUE(fake.files.folders.count(LowerCase(folder))) << folder;
    }
    EXPECT_EQ(fake.files.files.at(LowerCase(kAutoexec)), "");
    EXPECT_EQ(console.DataFolder(), "C:\\ProgramData\\Orvane\\Vantrel");
    EXPECT_TRUE(console.FirstRun());

    // Nothing shows while start-up runs; the first tick shows it all.
    EXPECT_FALSE(pane.open);
    console.Tick();
    ASSERT_TRUE(pane.open);
    EXPECT_EQ(pane.view.text, WelcomeText());
    EXPECT_EQ(pane.view.bounds, (Rect{0, 17, 1280, 6 * 15 + 2}));
    EXPECT_EQ(console.In().PendingOutput(), "");
}

TEST_F(ConsoleTest, SecondStartPrintsNothing) {
    fake.files.AddFolder("C:\\ProgramData\\Orvane\\Vantrel");
    fake.files.AddFolder(kShortcuts);
    fake.files.AddFile(kAutoexec, "");
    console.StartUp("");
    EXPECT_FALSE(console.FirstRun());
    EXPECT_EQ(console.In().PendingOutput(), "");
}

TEST_F(ConsoleTest, OnlyANewDataFolderMakesAFirstRun) {
    // The shortcut folder alone was deleted: not a first run.
    fake.files.AddFolder("C:\\ProgramData\\Orvane\\Vantrel");
    console.StartUp("");
    EXPECT_FALSE(console.FirstRun());
    EXPECT_TRUE(fake.files.folders.count(LowerCase(kShortcuts)));
}

TEST_F(ConsoleTest, StartWithAnArgumentIsNoFirstRunAndRunsIt) {
    console.StartUp("print 2+3");
    EXPECT_FALSE(console.FirstRun());
    TickUntilIdle();
    EXPECT_EQ(pane.view.text, "\r\n5");
}

TEST_F(ConsoleTest, TrailingBackslashOfAllUsersIsDropped) {
    fake.environment.variables[0].second = "C:\\ProgramData\\";
    console.StartUp("");
    EXPECT_EQ(console.DataFolder(), "C:\\ProgramData\\Orvane\\Vantrel");
    EXPECT_TRUE(fake.files.files.count(LowerCase(kAutoexec)));
}

TEST_F(ConsoleTest, ExistingAutoexecKeepsItsContent) {
    fake.files.AddFolder("C:\\ProgramData\\Orvane\\Vantrel");
    fake.files.AddFolder(kShortcuts);
    fake.files.AddFile(kAutoexec, "set greeting=hello\r\n");
    console.StartUp("");
    EXPECT_EQ(fake.files.files.at(LowerCase(kAutoexec)), "set greeting=hello\r\n");
    EXPECT_EQ(console.In().EvaluateText("greeting"), "hello");
}

TEST_F(ConsoleTest, StartUpAddsTheTrayIconAndPlacesTheBar) {
    console.StartUp("");
    EXPECT_TRUE(tray.added);
    EXPECT_EQ(tray.tooltip, "Orvane Vantrel");
    EXPECT_EQ(window.bounds, (Rect{0, 0, 1280, 17}));
    EXPECT_TRUE(window.visible);
    EXPECT_TRUE(window.topmost);
    EXPECT_EQ(fake.bar.prompt, "C:\\>");
    EXPECT_EQ(fake.bar.command, "");
    EXPECT_EQ(console.In().EvaluateText("WinWidth"), "1280");
}

TEST_F(ConsoleTest, UpdatePromptLaysOutAndColoursTheBar) {
    console.StartUp("");
    EXPECT_EQ(window.layout, LayOutBar({kLocal, false, 4, 1280}));  // "C:\>"
    ASSERT_FALSE(fake.bar.colours.empty());
    const BoxColours& c = fake.bar.colours.back();
    EXPECT_EQ(c.promptText, 0xFF9900u);  // "#0099FF": red 00, green 99, blue FF
    EXPECT_EQ(c.promptBg, 0u);
    EXPECT_EQ(c.commandText, 0xD0D0D0u);
    EXPECT_EQ(c.commandBg, 0u);
    EXPECT_FALSE(fake.bar.locked);
    EXPECT_EQ(fake.bar.passwordChar, '\0');
}

TEST_F(ConsoleTest, SettingsTakeEffectWhenTheLineEnds) {
    console.StartUp("");
    console.In().RunCommand("set EnterButton=1");
    EXPECT_EQ(window.layout.enterLeft, 1280 - kEnterButtonWidthPixels);
    console.In().RunCommand("set AlwaysOnTop=0");
    EXPECT_FALSE(window.topmost);
    console.In().RunCommand("set ColourPromptBg=#FF0000");
    EXPECT_EQ(fake.bar.colours.back().promptBg, 0x0000FFu);
}

TEST_F(ConsoleTest, BusyStatesKeepTheBusyColours) {
    console.StartUp("");
    // Every line starts in the busy colours, locked, and ends in the normal
    // ones while the console is local.
    fake.bar.colours.clear();
    console.In().RunCommand("echo x");
    ASSERT_EQ(fake.bar.colours.size(), 2u);
    EXPECT_EQ(fake.bar.colours[0].promptBg, 0xFF9900u);  // #0099FF: red low, blue high
    EXPECT_EQ(fake.bar.colours[0].commandBg, 0xD0D0D0u);
    EXPECT_EQ(fake.bar.colours[1].promptBg, 0x000000u);
    EXPECT_GE(fake.bar.lockCount, 1);
    EXPECT_FALSE(fake.bar.locked);

    console.In().RunCommand("connect 10.0.0.9");
    ASSERT_EQ(console.State(), kConnecting);
    const BoxColours& c = fake.bar.colours.back();
    EXPECT_EQ(c.promptText, 0u);
    EXPECT_EQ(c.promptBg, 0xFF9900u);
    EXPECT_EQ(c.commandBg, 0xD0D0D0u);
    EXPECT_TRUE(fake.bar.locked);
}

TEST_F(ConsoleTest, PasswordPromptMasksTheCommandBox) {
    console.StartUp("");
    console.In().RunCommand("orid ann");
    EXPECT_EQ(fake.bar.prompt, "ann password>");
    EXPECT_EQ(fake.bar.passwordChar, '*');
    fake.bar.command = "hunter 2";
    console.EnterClicked();
    EXPECT_EQ(console.Account().pass, "hunter 2");
    EXPECT_EQ(console.State(), kLocal);
    EXPECT_EQ(console.History().Entry(0), "");  // a password is never recorded
}

TEST_F(ConsoleTest, FloatingBarFollowsWinXWinYAndWinWidth) {
    console.StartUp("");
    console.Dock(DockState::kFloating);
    console.In().SetVar("WinX", "100");
    console.In().SetVar("WinY", "200");
    console.In().SetVar("WinWidth", "10");
    console.ApplySettings();
    EXPECT_EQ(window.bounds, (Rect{100, 200, 80, 17}));
    EXPECT_EQ(window.layout, LayOutBar({kLocal, false, 4, 80}));
}

TEST_F(ConsoleTest, DockedBarIsNotMovedBySettings) {
    console.StartUp("");
    console.In().SetVar("WinX", "100");
    size_t moves = window.moves.size();
    console.ApplySettings();
    EXPECT_EQ(window.moves.size(), moves);
}

TEST_F(ConsoleTest, ExitRemovesTheTrayIconAndEndsTheProcess) {
    console.StartUp("");
    console.In().RunCommand("exit");
    EXPECT_FALSE(tray.added);
    EXPECT_TRUE(window.ended);
}

TEST_F(ConsoleTest, ExitInAutoexecStopsStartUp) {
    fake.files.AddFolder("C:\\ProgramData\\Orvane\\Vantrel");
    fake.files.AddFolder(kShortcuts);
    fake.files.AddFile(kAutoexec, "exit\r\nset after=1\r\n");
    console.StartUp("");
    EXPECT_TRUE(window.ended);
    EXPECT_EQ(console.In().EvaluateText("after"), "");
}

TEST_F(ConsoleTest, FirstStartCopiesTheSampleShortcuts) {
    const std::string samples = fake.files.programFolder + "\\Sample Shortcuts";
    for (const std::string& folder :
         {std::string("C:\\Program Files"), fake.files.programFolder, samples}) {
        fake.files.AddFolder(folder);
    }
    fake.files.AddFile(samples + "\\search.dcb", "set Search=``\r\n");
    fake.files.AddFile(samples + "\\README", "read me");
    fake.files.AddFolder(samples + "\\nested");
    console.StartUp("");
    EXPECT_EQ(fake.files.Contents(std::string(kShortcuts) + "\\search.dcb"), "set Search=``\r\n");
    EXPECT_EQ(fake.files.Contents(std::string(kShortcuts) + "\\README"), "read me");
    EXPECT_FALSE(fake.files.IsFolder(std::string(kShortcuts) + "\\nested"));
    EXPECT_EQ(console.In().PendingOutput(), WelcomeText());
}

TEST_F(ConsoleTest, OnlyTheFirstStartCopiesSamples) {
    const std::string samples = fake.files.programFolder + "\\Sample Shortcuts";
    for (const std::string& folder :
         {std::string("C:\\Program Files"), fake.files.programFolder, samples}) {
        fake.files.AddFolder(folder);
    }
    fake.files.AddFile(samples + "\\search.dcb", "new");
    fake.files.AddFolder("C:\\ProgramData\\Orvane\\Vantrel");
    fake.files.AddFolder(kShortcuts);
    console.StartUp("");
    EXPECT_FALSE(fake.files.HasFile(std::string(kShortcuts) + "\\search.dcb"));
}

TEST_F(ConsoleTest, AFirstStartWithoutSamplesIsNoError) {
    console.StartUp("");
    EXPECT_TRUE(console.FirstRun());
    EXPECT_EQ(console.In().PendingOutput(), WelcomeText());
}

TEST_F(ConsoleTest, TrayItemsSaveThePositionAndEditAutoexec) {
    console.StartUp("");
    fake.files.AddFile(kAutoexec, "set a=1\r\n");
    console.Dock(DockState::kBottom);
    console.SavePos();
    EXPECT_EQ(fake.files.Contents(kAutoexec), "dock bottom\r\nset a=1\r\n");
    console.EditAutoexec();
    ASSERT_FALSE(fake.processes.started.empty());
    EXPECT_EQ(fake.processes.started.back().commandLine,
              std::string("Notepad.exe \"") + kAutoexec + "\"");
}

class PumpTest : public ConsoleTest {
  protected:
    PumpTest() {
        console.StartUp("");
        TickUntilIdle();
        pane = FakePane{};
    }
};

TEST_F(PumpTest, OneTickTakesEveryFormFeed) {
    console.In().PendingOutput() = "old\r\n\f\r\nmiddle\r\n\f\r\nnew";
    pane.open = true;
    console.Tick();
    EXPECT_FALSE(pane.open);
    EXPECT_EQ(pane.closeCount, 1);
    EXPECT_EQ(console.In().PendingOutput(), "\r\nnew");
    console.Tick();
    EXPECT_TRUE(pane.open);
    EXPECT_EQ(pane.view.text, "\r\nnew");
    EXPECT_EQ(console.In().PendingOutput(), "");
}

TEST_F(PumpTest, NothingPendingLeavesThePaneAlone) {
    console.Tick();
    EXPECT_EQ(pane.showCount, 0);
    EXPECT_EQ(pane.closeCount, 0);
}

TEST_F(PumpTest, LaterOutputIsAddedBelow) {
    console.In().PendingOutput() = "one";
    console.Tick();
    console.In().PendingOutput() = "two";
    console.Tick();
    EXPECT_EQ(pane.view.text, "one\r\ntwo");
    EXPECT_EQ(pane.view.bounds.height, 32);
}

TEST_F(PumpTest, LimitsAndColoursComeFromTheSettings) {
    console.In().SetVar("OutputMaxMem", "3");
    console.In().SetVar("OutputMaxSize", "abc");
    console.In().SetVar("ColourOutputText", "#FF0000");
    console.In().SetVar("ColourOutputBg", "#0000FF");
    console.In().PendingOutput() = "1\r\n2\r\n3\r\n4\r\n5";
    console.Tick();
    EXPECT_EQ(pane.view.text, "3\r\n4\r\n5");
    EXPECT_EQ(pane.view.bounds.height, 17);  // one line
    EXPECT_EQ(pane.view.textColour, 0x0000FFu);
    EXPECT_EQ(pane.view.bgColour, 0xFF0000u);
}

TEST_F(PumpTest, TypedLinesClearThePaneUnlessOutputIsKept) {
    console.In().RunCommand("print 1");
    TickUntilIdle();
    console.In().RunCommand("print 2");
    TickUntilIdle();
    EXPECT_EQ(pane.view.text, "\r\n2");
    // KEEPOUTPUT's own line still clears the pane.
    console.In().RunCommand("keepoutput on");
    TickUntilIdle();
    EXPECT_FALSE(pane.open);
    console.In().RunCommand("print 3");
    TickUntilIdle();
    fake.bar.paneHasText = pane.open;
    console.In().RunCommand("print 4");
    TickUntilIdle();
    EXPECT_EQ(pane.view.text, "3\r\n4");
}

TEST_F(PumpTest, ServedClientGetsTheOutputFormFeedsIncluded) {
    for (const char* listen : {"listen 2319 pw", "listen 2319"}) {
        console.In().RunCommand("disconnect");
        console.In().RunCommand(listen);
        socket.Knock("10.1.2.3");
        ASSERT_TRUE(console.State() == kAwaitingLogin || console.State() == kServing) << listen;
        socket.TakeSent();
        console.In().PendingOutput() = "\f\r\nx";
        console.Tick();
        EXPECT_EQ(socket.TakeSent(), "\f\r\nx\r\n") << listen;
        EXPECT_EQ(console.In().PendingOutput(), "");
        EXPECT_FALSE(pane.open);
    }
}

}  // namespace
}  // namespace vantrel
