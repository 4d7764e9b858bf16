// In-memory stand-ins for the console's own windows: the bar's geometry,
// the output pane and the tray icon. They record what the console logic
// asked for.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/console_window.h"
#include "platform/output_pane.h"
#include "platform/tray_icon.h"

namespace vantrel::testing {

class FakeConsoleWindow : public ConsoleWindow {
  public:
    Rect Bounds() const override { return bounds; }
    void Move(const Rect& b) override { bounds = b; }
    void LayOut(const BarLayout& l) override { layout = l; }
    void SetTopmost(bool on) override { topmost = on; }
    Size ScreenSize() const override { return screen; }
    std::vector<Monitor> Monitors() const override { return monitors; }
    void Show() override {
        visible = true;
        foreground = true;
        ++showCount;
    }
    void EndProcess() override { ended = true; }
    void Hide() override { visible = false; }
    bool IsVisible() const override { return visible; }
    bool IsForeground() const override { return visible && foreground; }
    void ReturnFocus() override {
        foreground = false;
        ++focusReturns;
    }
    bool SetSummonKey(const KeyChord& chord) override {
        if (chord == takenChord) return false;
        summonKey = chord;
        return true;
    }
    void AppBarDock(DockState edge) override {
        if (!appBar) appBar = edge;
    }
    void AppBarUndock() override { appBar.reset(); }
    void PumpWhileBusy() override {
        ++pumps;
        if (onPump) onPump();
    }
    void ResumeInput() override { ++resumes; }

    Rect bounds{0, 0, 640, 17};
    Size screen{1280, 720};
    std::vector<Monitor> monitors{Monitor{Rect{0, 0, 1280, 720}, true, kStandardDpi}};
    BarLayout layout;
    int showCount = 0, pumps = 0, resumes = 0;
    std::function<void()> onPump;     // what the user does while a line runs
    std::optional<DockState> appBar;  // the edge while registered
    bool topmost = false, visible = false, ended = false;
    bool foreground = false;
    int focusReturns = 0;
    KeyChord summonKey;
    KeyChord takenChord{-1, 0};  // what another program holds
};

class FakePane : public OutputPane {
  public:
    std::string Text() const override { return open ? view.text : std::string(); }
    void Close() override {
        open = false;
        view = PaneView{};
    }
    void Show(const PaneView& v) override {
        open = true;
        view = v;
    }

    bool open = false;
    PaneView view;
};

class FakeTray : public TrayIcon {
  public:
    bool Add(const std::string& text) override {
        added = true;
        tooltip = text;
        return true;
    }
    void Remove() override { added = false; }
    TrayMenuItem PopUpMenu(const TrayMenuChecks& c) override {
        menus.push_back(c);
        return choice;
    }

    bool added = false;
    std::string tooltip;
    std::vector<TrayMenuChecks> menus;
    TrayMenuItem choice = TrayMenuItem::kNone;  // what the user picks
};

}  // namespace vantrel::testing
