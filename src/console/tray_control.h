// The tray icon: added at start-up and again when the notification area is
// made afresh, its double click showing the bar, its right click the menu.
// The menu has a message loop of its own, in which other input could start
// a line inside the running one: a click that comes while a line runs
// waits, in order, for the line to end.
#pragma once

#include <cstddef>
#include <deque>

#include "platform/tray_icon.h"

namespace vantrel {

class BarPlacement;
class ConsoleWindow;
class Interpreter;

inline constexpr char kTrayTooltip[] = "Orvane Vantrel";

class TrayControl {
  public:
    TrayControl(Interpreter& in, TrayIcon& tray, ConsoleWindow& window, BarPlacement& placement)
        : in_(in), tray_(tray), window_(window), placement_(placement) {}

    // At start-up, and when the shell made the notification area afresh.
    void Add() { tray_.Add(kTrayTooltip); }
    void Remove() { tray_.Remove(); }
    // A mouse message on the icon (513 to 518); a second one arriving while
    // the first is handled (its menu is up) is ignored.
    void MouseMessage(int message);
    // The line ended: the clicks that waited get their turn.
    void LineEnded();

    // As many clicks as a user makes in a long line.
    static constexpr size_t kMostHeld = 32;

  private:
    void DoubleClicked(int button);
    void Released(int button);
    void MenuChosen(TrayMenuItem item);

    Interpreter& in_;
    TrayIcon& tray_;
    ConsoleWindow& window_;
    BarPlacement& placement_;
    bool handling_ = false;
    std::deque<int> held_;
};

}  // namespace vantrel
