// Where the bar sits: docked at the top or bottom edge of a monitor, or
// floating where WinX and WinY put it; shown or hidden; dragged with both
// mouse buttons; moved to a monitor of another scale. DockState is kept
// here, and every change ends with the bar laid out afresh.
#pragma once

#include <optional>

#include "interpreter/console_host.h"
#include "interpreter/console_state.h"
#include "platform/console_events.h"
#include "platform/console_window.h"

namespace vantrel {

class Interpreter;

class BarPlacement : public WindowPlacement {
  public:
    BarPlacement(Interpreter& in, ConsoleWindow& window, const ConsoleState& state)
        : in_(in), window_(window), state_(state) {}

    // Start-up: the bar at the top edge of the primary monitor, where every
    // start docks it.
    void PlaceAtStart();

    DockState Docking() const override { return dock_; }
    void Dock(DockState where) override;
    void DockOn(DockState where, Point monitorPoint) override;
    std::optional<Point> DockedMonitor() const override;
    void ShowWin() override;
    void HideWin() override;

    // A floating bar moves to the monitor under the pointer, at the same
    // place relative to that monitor as it had on its own, wholly on it; a
    // docked bar stays where it is docked.
    void FollowPointer(Point pointer);
    // The bar's monitor changed its scale, or the bar moved to a monitor
    // of another scale.
    void ScaleChanged();
    // A mouse move over the bar's boxes: the two-button drag.
    void MouseMove(int cursorX, int cursorY, const DragKeys& keys);
    // SAVEPOS as the tray's item does it: silent when the file cannot be
    // written, which is then left as it was.
    void SavePos();
    // The bar laid out and coloured for the settings and the state.
    void ApplySettings();

  private:
    void DockOnMonitor(DockState where, const Monitor& monitor);

    Interpreter& in_;
    ConsoleWindow& window_;
    const ConsoleState& state_;
    DockState dock_ = DockState::kTop;
    int lastCursorX_ = 0;
    int lastCursorY_ = 0;
};

}  // namespace vantrel
