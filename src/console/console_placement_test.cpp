// The console's placement and tray behaviour through its commands and tray
// events, against the in-memory window and tray.
#include <gtest/gtest.h>

#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kAutoexec[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\Autoexec.dcb";

class ConsolePlacementTest : public RemoteTest {
  protected:
    ConsolePlacementTest() { console.StartUp(""); }

    // Runs a line that prints nothing and checks where the bar is after it.
    void RunTo(const char* line, Rect bounds) {
        EXPECT_EQ(Run(line), "") << line;
        EXPECT_EQ(window.bounds, bounds) << line;
    }
};

TEST_F(ConsolePlacementTest, DockMovesBetweenEdgesAndFloatsHideGivesTheEdgeBackAlwaysOnTop) {
    RunTo("dock BOTTOM", {0, 703, 1280, 17});
    EXPECT_EQ(window.appBar, DockState::kBottom);
    EXPECT_EQ(console.Placement().Docking(), DockState::kBottom);
    RunTo("winpos 100 200 800", {0, 703, 1280, 17});  // stored only while docked
    RunTo("dock off", {100, 200, 800, 17});
    EXPECT_EQ(window.appBar, std::nullopt);
    EXPECT_EQ(Run("winpos"), "Undocked position: 100, 200\nUndocked width: 800");
    RunTo("dock top", {0, 0, 1280, 17});

    // Hiding gives the edge back and showing docks again.
    Run("hide");
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(window.appBar, std::nullopt);
    // Docking a hidden bar only records the state.
    Run("dock bottom");
    EXPECT_EQ(window.appBar, std::nullopt);
    Run("show");
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.appBar, DockState::kBottom);

    EXPECT_TRUE(window.topmost);
    Run("alwaysontop OFF");
    EXPECT_FALSE(window.topmost);
    Run("alwaysontop on");
    EXPECT_TRUE(window.topmost);
}

TEST_F(ConsolePlacementTest, RightClickPopsTheMenuWithItsChecksAndItsItemsAct) {
    console.TrayMouseMessage(516);  // right button down: not handled
    EXPECT_TRUE(tray.menus.empty());
    console.TrayMouseMessage(517);
    Run("dock bottom");
    Run("hide");
    console.TrayMouseMessage(517);
    EXPECT_EQ(tray.menus,
              (std::vector<TrayMenuChecks>{{true, DockState::kTop}, {false, DockState::kBottom}}));

    // Its items, a double click and a new taskbar act.
    Run("show");
    tray.choice = TrayMenuItem::kShowHide;
    console.TrayMouseMessage(517);
    EXPECT_FALSE(window.visible);
    console.TrayMouseMessage(518);  // right double click: nothing
    EXPECT_FALSE(window.visible);
    console.TrayMouseMessage(515);
    EXPECT_TRUE(window.visible);
    Run("winpos 100 200 800");
    tray.choice = TrayMenuItem::kUndock;
    console.TrayMouseMessage(517);
    EXPECT_EQ(window.bounds, (Rect{100, 200, 800, 17}));
    tray.added = false;
    console.TaskbarCreated();
    EXPECT_TRUE(tray.added);
    tray.choice = TrayMenuItem::kSavePos;
    console.TrayMouseMessage(517);
    EXPECT_EQ(fake.files.Contents(kAutoexec), "winpos 100 200 800\r\ndock off\r\n");
    tray.choice = TrayMenuItem::kAutoexec;
    console.TrayMouseMessage(517);
    EXPECT_EQ(fake.processes.started.size(), 1u);  // the editor on Autoexec.dcb
    tray.choice = TrayMenuItem::kExit;
    console.TrayMouseMessage(517);
    EXPECT_TRUE(window.ended);
    EXPECT_FALSE(tray.added);
}

TEST_F(ConsolePlacementTest, TwoButtonDragMovesTheFloatingBarAndTheFocusHotkeyShowsIt) {
    Run("winpos 100 200 800");
    Run("dock off");
    DragKeys both{true, true};
    console.MouseMove(500, 500, DragKeys{});  // records the cursor only
    console.MouseMove(510, 490, both);
    EXPECT_EQ(window.bounds, (Rect{110, 190, 800, 17}));
    EXPECT_EQ(in().EvaluateText("WinX"), "110");
    const DragKeys shift{.left = true, .right = true, .shift = true};
    console.MouseMove(530, 490, shift);
    EXPECT_EQ(window.bounds, (Rect{110, 190, 820, 17}));
    EXPECT_EQ(in().EvaluateText("WinWidth"), "820");

    // The focus hotkey shows the bar only while it is visible.
    int shows = window.showCount;
    fake.input.down.insert(0xA3);
    console.Tick();
    EXPECT_EQ(window.showCount, shows + 1);
    console.Placement().HideWin();
    console.Tick();
    EXPECT_EQ(window.showCount, shows + 1);
}

// A second monitor at 150% right of the primary one, whose top is higher.
const Monitor kPrimary{{0, 0, 1280, 720}, true, 96};
const Monitor kRight{{1280, -200, 1920, 1080}, false, 144};

class TwoMonitorTest : public ConsolePlacementTest {
  protected:
    TwoMonitorTest() { window.monitors = {kPrimary, kRight}; }
};

TEST_F(TwoMonitorTest, DockDocksOnTheMonitorTheBarIsOnAndThePaneOpensThere) {
    Run("winpos 1500 100 800");
    RunTo("dock off", {1500, 100, 800, 25});  // at that monitor's scale
    RunTo("dock bottom", {1280, 855, 1920, 25});
    EXPECT_EQ(window.appBar, DockState::kBottom);
    in().PrintOut("x");
    console.Tick();
    // One 22-pixel line and 3 more above the bar, on the same monitor.
    EXPECT_EQ(pane.view.bounds, (Rect{1280, 855 - 25, 1920, 25}));
    EXPECT_EQ(pane.view.dpi, 144);
    RunTo("dock top", {1280, -200, 1920, 25});
}

TEST_F(TwoMonitorTest, SavedDockingNamesTheMonitorAndRestoresOnItIfItIsThere) {
    Run("winpos 1500 100 800");
    Run("dock off");
    Run("dock bottom");
    EXPECT_EQ(Run("savepos"), "");
    EXPECT_EQ(fake.files.Contents(kAutoexec), "dock bottom 1280 -200\r\n");

    // The next start docks at the top of the primary, then Autoexec.dcb runs.
    Run("dock top");
    RunTo("dock bottom 1280 -200", {1280, 855, 1920, 25});
    RunTo("dock top 1300 0", {1280, -200, 1920, 25});  // any point of the monitor
    Run("savepos");
    EXPECT_EQ(fake.files.Contents(kAutoexec), "dock top 1280 -200\r\n");

    // Back on the primary, nothing names a monitor.
    RunTo("dock bottom 0 0", {0, 703, 1280, 17});
    Run("savepos");
    EXPECT_EQ(fake.files.Contents(kAutoexec), "dock bottom\r\n");

    // A monitor that is gone leaves the primary.
    window.monitors = {kPrimary};
    RunTo("dock bottom 1280 -200", {0, 703, 1280, 17});
    Run("winpos 1500 100 800");
    RunTo("dock off", {0, 0, 800, 17});
    EXPECT_EQ(in().EvaluateText("WinX"), "1500");  // the setting stays as it was
}

TEST_F(TwoMonitorTest, DockWithAMonitorPointStillAnswersMisuse) {
    for (const char* line :
         {"dock off 0 0", "dock top 5", "dock top x 0", "dock top 0 0 0", "dock top 1.5 0",
          "dock top 1234567 0", "dock top - 0", "dock left 0 0"}) {
        EXPECT_EQ(Run(line), "Syntax: DOCK TOP|BOTTOM|OFF") << line;
    }
    RunTo("dock TOP -1 -1", {0, 0, 1280, 17});  // on no monitor: the primary
}

TEST_F(TwoMonitorTest, ANewScaleRedocksAtTheNewHeight) {
    Run("winpos 1500 100 800");
    Run("dock off");
    Run("dock top");
    window.monitors = {kPrimary, Monitor{kRight.bounds, false, 192}};
    console.ScaleChanged();
    EXPECT_EQ(window.bounds, (Rect{1280, -200, 1920, 34}));
    EXPECT_EQ(window.appBar, DockState::kTop);
    EXPECT_EQ(window.layout.promptWidth, 8 * 16 + 8);  // "C:\Work>" at 200%
}

}  // namespace
}  // namespace vantrel::testing
