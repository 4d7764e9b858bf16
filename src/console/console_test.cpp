// Start-up, the bar's colours and settings, and the output pump of a whole
// console on in-memory services.
#include "console/console.h"

#include <gtest/gtest.h>

#include <vector>

#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kData[] = "C:\\ProgramData\\Orvane\\Vantrel";
constexpr char kShortcuts[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";
constexpr char kAutoexec[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\Autoexec.dcb";

// A console on a machine where it never ran: only the all-users folder is there.
struct NewMachine {
    NewMachine() {
        fake.environment.variables = {{"ALLUSERSPROFILE", "C:\\ProgramData"}};
        fake.files.AddFolder("C:\\ProgramData");
    }

    FakePlatform fake;
    FakeConsoleWindow window;
    FakePane pane;
    FakeTray tray;
    Console console{fake.platform, window, pane, tray, BuiltInCommands()};
};

class StartUpTest : public ::testing::Test, protected NewMachine {};

std::string WelcomeText() {
    std::string text;
    for (const char* line : kWelcomeLines) text += (text.empty() ? "" : "\r\n") + std::string(line);
    return text;
}

TEST_F(StartUpTest, FirstStartSetsUpTheBarAndShowsTheWelcomeTextAtTheFirstTick) {
    fake.environment.variables[0].second = "C:\\ProgramData\\";  // the backslash is dropped
    console.StartUp("");
    EXPECT_TRUE(fake.files.IsFolder(kData));
    EXPECT_TRUE(fake.files.HasFile(kAutoexec));
    EXPECT_EQ(fake.files.Contents(kAutoexec), "");
    EXPECT_TRUE(tray.added);
    EXPECT_EQ(tray.tooltip, "Orvane Vantrel");
    EXPECT_EQ(window.bounds, (Rect{0, 0, 1280, 17}));
    EXPECT_TRUE(window.visible);
    EXPECT_TRUE(window.topmost);
    EXPECT_EQ(window.appBar, DockState::kTop);
    EXPECT_EQ(fake.bar.prompt, "C:\\>");
    EXPECT_EQ(console.In().EvaluateText("WinWidth"), "1280");
    // Nothing shows while start-up runs; the first tick shows it all.
    EXPECT_FALSE(pane.open);
    console.Tick();
    EXPECT_EQ(pane.view.text, WelcomeText());
    EXPECT_EQ(pane.view.bounds, (Rect{0, 17, 1280, 6 * 15 + 2}));
}

TEST(FirstRunTest, OnlyNewFoldersAndNoArgumentMakeAFirstRun) {
    // folders: there before the start
    // clang-format off
    const struct {
        const char* name; std::vector<const char*> folders; const char* argument; bool firstRun;
    } cases[] = {
        {"never ran", {}, "", true},
        {"ran before", {kData, kShortcuts}, "", false},
        {"shortcut folder deleted", {kData}, "", false},
        {"started with a line", {}, "set started=1", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        NewMachine m;
        FakeFileSystem& files = m.fake.files;
        const std::string samples = files.programFolder + "\\Sample Shortcuts";
        for (const std::string& folder :
             {std::string("C:\\Program Files"), files.programFolder, samples, samples + "\\x"}) {
            files.AddFolder(folder);
        }
        files.AddFile(samples + "\\search.dcb", "set Search=``\r\n");
        for (const char* folder : c.folders) files.AddFolder(folder);
        m.console.StartUp(c.argument);
        // A first run copies the samples, not their folders, and welcomes.
        EXPECT_EQ(files.HasFile(std::string(kShortcuts) + "\\search.dcb"), c.firstRun) << c.name;
        EXPECT_FALSE(files.IsFolder(std::string(kShortcuts) + "\\x")) << c.name;
        const std::string& pending = m.console.In().PendingOutput();
        EXPECT_EQ(pending.find(kWelcomeLines[0]) != std::string::npos, c.firstRun) << c.name;
        EXPECT_EQ(m.console.In().EvaluateText("started"), *c.argument ? "1" : "") << c.name;
    }
}

TEST_F(StartUpTest, AutoexecKeepsItsTextAndRunsAndItsExitStopsStartUp) {
    const char* text = "set greeting=hello\r\nexit\r\nset after=1\r\n";
    fake.files.AddFolder(kData);
    fake.files.AddFolder(kShortcuts);
    fake.files.AddFile(kAutoexec, text);
    console.StartUp("set argument=1");
    EXPECT_EQ(fake.files.Contents(kAutoexec), text);
    EXPECT_EQ(console.In().EvaluateText("greeting"), "hello");
    EXPECT_EQ(console.In().EvaluateText("after"), "");
    EXPECT_EQ(console.In().EvaluateText("argument"), "");
    EXPECT_TRUE(window.ended);
    EXPECT_FALSE(tray.added);
}

// --- the bar -------------------------------------------------------------

using ConsoleBarTest = RemoteTest;

std::vector<Colour> Colours(const BoxColours& c) {
    return {c.promptText, c.promptBg, c.commandText, c.commandBg};
}

TEST_F(ConsoleBarTest, EveryStateShowsItsPromptLineAndTheLayoutFollowsIt) {
    EXPECT_EQ(window.layout.promptWidth, 68);  // "C:\Work>": 8 x 120 + 60 twips
    Run("set EnterButton=1");
    EXPECT_EQ(window.layout.enterLeft,
              window.bounds.width - MetricsForDpi(kStandardDpi).enterWidth);
    const char* names[] = {"ColourPromptText",      "ColourPromptBg",       "ColourCommandText",
                           "ColourCommandBg",       "ColourPromptBusyText", "ColourPromptBusyBg",
                           "ColourCommandBusyText", "ColourCommandBusyBg"};
    for (int i = 0; i < 8; ++i) in().SetVar(names[i], "#0" + std::to_string(i + 1));
    const std::vector<Colour> normal{1, 2, 3, 4}, busy{5, 6, 7, 8};
    const char* linked = "10.0.0.9: C:\\>";
    const char* hint = " (press F10 to kick or CTRL+F10 to ban)";
    // busy: locked, in the busy colours
    // clang-format off
    const struct { ConsoleState state; bool busy; char passwordChar; const char* prompt, *command; }
        cases[] = {
        {kLocal, false, '\0', "C:\\Work>", ""},
        {kAccountPassword, false, '*', "ann password>", ""},
        {kConnecting, true, '\0', "Connecting to 10.0.0.9 . . . ", " (press F10 to cancel)"},
        {kRemotePassword, false, '*', "10.0.0.9: Password>", ""},
        {kRemoteLink, false, '\0', linked, ""},
        {kDisconnecting, false, '\0', linked, "disconnect"},
        {kSending, true, '\0', linked, "dir"},
        {kAwaitingLogin, true, '\0', "Serving 10.1.2.3", hint},
        {kServing, true, '\0', "Serving 10.1.2.3", hint},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        Reach(c.state);
        EXPECT_EQ(Colours(fake.bar.colours.back()), c.busy ? busy : normal);
        EXPECT_EQ(fake.bar.locked, c.busy);
        EXPECT_EQ(fake.bar.passwordChar, c.passwordChar);
        EXPECT_EQ(fake.bar.prompt, c.prompt);
        EXPECT_EQ(fake.bar.command, c.command);
    }
    // A local line runs in the busy colours, locked, and ends in the normal ones.
    Reach(kLocal);
    fake.bar.colours.clear();
    fake.bar.lockCount = 0;
    Type("echo x");
    EXPECT_EQ(Colours(fake.bar.colours.front()), busy);
    EXPECT_EQ(Colours(fake.bar.colours.back()), normal);
    EXPECT_EQ(fake.bar.lockCount, 1);
    EXPECT_FALSE(fake.bar.locked);
}

// --- the output pump -----------------------------------------------------

using PumpTest = RemoteTest;

TEST_F(PumpTest, OneTickTakesEveryFormFeedAndLaterOutputGoesBelow) {
    in().PendingOutput() = "old\r\n\f\r\nmiddle\r\n\f\r\nnew";
    pane.open = true;
    console.Tick();
    EXPECT_FALSE(pane.open);
    EXPECT_EQ(in().PendingOutput(), "\r\nnew");
    console.Tick();
    EXPECT_EQ(pane.view.text, "\r\nnew");
    // With nothing pending the pane stays; later output goes below.
    console.Tick();
    in().PendingOutput() = "more";
    console.Tick();
    EXPECT_EQ(pane.view.text, "\r\nnew\r\nmore");
}

TEST_F(PumpTest, LimitsAndColoursComeFromTheSettings) {
    in().SetVar("OutputMaxMem", "3");
    in().SetVar("OutputMaxSize", "abc");
    in().SetVar("ColourOutputText", "#FF0000");
    in().SetVar("ColourOutputBg", "#0000FF");
    in().PendingOutput() = "1\r\n2\r\n3\r\n4\r\n5";
    console.Tick();
    EXPECT_EQ(pane.view.text, "3\r\n4\r\n5");
    EXPECT_EQ(pane.view.bounds.height, 17);  // one line
    EXPECT_EQ(pane.view.textColour, 0x0000FFu);
    EXPECT_EQ(pane.view.bgColour, 0xFF0000u);
}

TEST_F(PumpTest, TypedLinesClearThePaneUnlessOutputIsKept) {
    auto typeAndShow = [this](const char* line) {
        Type(line);
        for (int i = 0; i < 5; ++i) console.Tick();
    };
    typeAndShow("print 1");
    typeAndShow("print 2");
    EXPECT_EQ(pane.view.text, "\r\n2");
    typeAndShow("keepoutput on");
    EXPECT_FALSE(pane.open);  // its own line still clears the pane
    typeAndShow("print 3");
    fake.bar.paneHasText = pane.open;
    typeAndShow("print 4");
    EXPECT_EQ(pane.view.text, "3\r\n4");
}

}  // namespace
}  // namespace vantrel::testing
