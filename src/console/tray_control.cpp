#include "console/tray_control.h"

#include <utility>

#include "console/bar_placement.h"
#include "console/tray_events.h"
#include "interpreter/interpreter.h"
#include "startup/autoexec.h"

namespace vantrel {

void TrayControl::MouseMessage(int message) {
    if (handling_) return;
    const TrayMouse mouse = TrayEventFor(message);
    if (in_.Running()) {
        // The pointer passing over the icon raises nothing and need not wait.
        if (mouse.event != TrayEvent::kNone && held_.size() < kMostHeld) held_.push_back(message);
        return;
    }
    handling_ = true;
    if (mouse.event == TrayEvent::kMouseDblClick) DoubleClicked(mouse.button);
    if (mouse.event == TrayEvent::kMouseUp) Released(mouse.button);
    handling_ = false;
}

void TrayControl::LineEnded() {
    // A click may open the menu, whose own loop may bring more.
    std::deque<int> messages = std::exchange(held_, {});
    for (int message : messages) MouseMessage(message);
}

void TrayControl::DoubleClicked(int button) {
    if (button == 1) placement_.ShowWin();
}

void TrayControl::Released(int button) {
    if (button != 2) return;
    MenuChosen(tray_.PopUpMenu(TrayMenuChecks{window_.IsVisible(), placement_.Docking()}));
}

void TrayControl::MenuChosen(TrayMenuItem item) {
    switch (item) {
        case TrayMenuItem::kShowHide:
            if (window_.IsVisible()) {
                placement_.HideWin();
            } else {
                placement_.ShowWin();
            }
            break;
        case TrayMenuItem::kDockTop:
            placement_.Dock(DockState::kTop);
            break;
        case TrayMenuItem::kDockBottom:
            placement_.Dock(DockState::kBottom);
            break;
        case TrayMenuItem::kUndock:
            placement_.Dock(DockState::kFloating);
            break;
        case TrayMenuItem::kSavePos:
            placement_.SavePos();
            break;
        case TrayMenuItem::kAutoexec:
            OpenAutoexec(in_);
            break;
        case TrayMenuItem::kExit:
            in_.Host().Exit();
            break;
        case TrayMenuItem::kNone:
            break;
    }
}

}  // namespace vantrel
