// Start-up of a whole console on in-memory services. The bar's states and
// colours, and the output pump through the console, are in testdata/*.keys.
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

}  // namespace
}  // namespace vantrel::testing
