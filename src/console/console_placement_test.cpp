// The console's placement and tray behaviour through its commands and tray
// events, against the in-memory window and tray.
#include <gtest/gtest.h>

#include "commands/command_table.h"
#include "console/console.h"
#include "fake_console.h"
#include "fake_platform.h"
#include "interpreter/text.h"

namespace vantrel {
namespace {

using testing::FakeConsoleWindow;
using testing::FakePane;
using testing::FakePlatform;
using testing::FakeTray;

class ConsolePlacementTest : public ::testing::Test {
  protected:
    ConsolePlacementTest() {
        fake.environment.variables = {{"ALLUSERSPROFILE", "C:\\ProgramData"}};
        fake.files.AddFolder("C:\\ProgramData");
        console.StartUp("");
    }

    std::string Output(const std::string& line) {
        console.In().PendingOutput().clear();
        console.In().RunCommand(line);
        std::string out = ReplaceAll(console.In().PendingOutput(), "\r\n", "\n");
        return out.rfind("\f\n", 0) == 0 ? out.substr(2) : out == "\f" ? "" : out;
    }

    FakePlatform fake;
    FakeConsoleWindow window;
    FakePane pane;
    FakeTray tray;
    Console console{fake.platform, window, pane, tray, BuiltInCommands()};
};

TEST_F(ConsolePlacementTest, StartUpDocksAtTheTop) {
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.appBar, DockState::kTop);
    EXPECT_EQ(console.Docking(), DockState::kTop);
}

TEST_F(ConsolePlacementTest, DockMovesBetweenEdgesAndFloats) {
    EXPECT_EQ(Output("dock"), "Syntax: DOCK TOP|BOTTOM|OFF");
    EXPECT_EQ(Output("dock left"), "Syntax: DOCK TOP|BOTTOM|OFF");
    EXPECT_EQ(Output("dock BOTTOM"), "");
    EXPECT_EQ(window.appBar, DockState::kBottom);
    EXPECT_EQ(window.bounds, (Rect{0, 703, 1280, 17}));
    EXPECT_EQ(console.Docking(), DockState::kBottom);

    EXPECT_EQ(Output("winpos 100 200 800"), "");
    EXPECT_EQ(window.bounds, (Rect{0, 703, 1280, 17}));  // stored only while docked
    EXPECT_EQ(Output("dock off"), "");
    EXPECT_EQ(window.appBar, std::nullopt);
    EXPECT_EQ(window.bounds, (Rect{100, 200, 800, 17}));
    EXPECT_EQ(Output("winpos"), "Undocked position: 100, 200\nUndocked width: 800");
}

TEST_F(ConsolePlacementTest, WinPosMessages) {
    EXPECT_EQ(Output("winpos -5 10"), "Syntax: WINPOS x y [width]\nEnter values in pixels");
    EXPECT_EQ(Output("winpos 10 10 50"), "Window width cannot be less than 80");
    EXPECT_EQ(Output("winpos 0 0"), "");
    EXPECT_EQ(console.In().EvaluateText("WinX"), "0");
    console.In().SetVar("WinWidth", "12.6");
    EXPECT_EQ(Output("winpos"), "Undocked position: 0, 0\nUndocked width: 80");
}

TEST_F(ConsolePlacementTest, HideGivesTheEdgeBackAndShowDocksAgain) {
    EXPECT_EQ(Output("hide x"), "Syntax: HIDE");
    EXPECT_EQ(Output("show x"), "Syntax: SHOW");
    Output("hide");
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(window.appBar, std::nullopt);
    // Docking a hidden bar only records the state.
    Output("dock bottom");
    EXPECT_EQ(window.appBar, std::nullopt);
    Output("show");
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.appBar, DockState::kBottom);
}

TEST_F(ConsolePlacementTest, AlwaysOnTopSwitch) {
    EXPECT_EQ(Output("alwaysontop"), "ALWAYS ON TOP is on");
    EXPECT_TRUE(window.topmost);
    EXPECT_EQ(Output("alwaysontop yes"), "Syntax: ALWAYSONTOP [ON|OFF]");
    EXPECT_EQ(Output("alwaysontop OFF"), "");
    EXPECT_FALSE(window.topmost);
    EXPECT_EQ(Output("alwaysontop"), "ALWAYS ON TOP is off");
}

TEST_F(ConsolePlacementTest, RightClickPopsTheMenuWithItsChecks) {
    console.TrayMouseMessage(516);  // right button down: not handled
    EXPECT_TRUE(tray.menus.empty());
    console.TrayMouseMessage(517);
    Output("dock bottom");
    Output("hide");
    console.TrayMouseMessage(517);
    EXPECT_EQ(tray.menus,
              (std::vector<TrayMenuChecks>{{true, DockState::kTop}, {false, DockState::kBottom}}));
}

TEST_F(ConsolePlacementTest, MenuItemsAndDoubleClickAct) {
    tray.choice = TrayMenuItem::kShowHide;
    console.TrayMouseMessage(517);
    EXPECT_FALSE(window.visible);
    console.TrayMouseMessage(518);  // right double click: nothing
    EXPECT_FALSE(window.visible);
    console.TrayMouseMessage(515);
    EXPECT_TRUE(window.visible);
    tray.choice = TrayMenuItem::kUndock;
    console.TrayMouseMessage(517);
    EXPECT_EQ(console.Docking(), DockState::kFloating);
    tray.choice = TrayMenuItem::kExit;
    console.TrayMouseMessage(517);
    EXPECT_TRUE(window.ended);
    EXPECT_FALSE(tray.added);
}

TEST_F(ConsolePlacementTest, TaskbarCreatedAddsTheIconAgain) {
    tray.added = false;
    console.TaskbarCreated();
    EXPECT_TRUE(tray.added);
}

TEST_F(ConsolePlacementTest, TwoButtonDragMovesTheFloatingBar) {
    Output("winpos 100 200 800");
    Output("dock off");
    DragKeys both{true, true};
    console.MouseMove(500, 500, DragKeys{});  // records the cursor only
    console.MouseMove(510, 490, both);
    EXPECT_EQ(window.bounds, (Rect{110, 190, 800, 17}));
    EXPECT_EQ(console.In().EvaluateText("WinX"), "110");
    DragKeys shift = both;
    shift.shift = true;
    console.MouseMove(530, 490, shift);
    EXPECT_EQ(window.bounds, (Rect{110, 190, 820, 17}));
    EXPECT_EQ(console.In().EvaluateText("WinWidth"), "820");
}

TEST_F(ConsolePlacementTest, FocusHotkeyShowsTheVisibleBarOnly) {
    int shows = window.showCount;
    fake.input.down.insert(0xA3);
    console.Tick();
    EXPECT_EQ(window.showCount, shows + 1);
    console.HideWin();
    console.Tick();
    EXPECT_EQ(window.showCount, shows + 1);
}

}  // namespace
}  // namespace vantrel
