// The console's icon in the notification area and its pop-up menu.
#pragma once

#include <string>

#include "platform/console_window.h"

namespace vantrel {

// The items of the menu that can be chosen.
enum class TrayMenuItem {
    kNone,  // the menu was dismissed
    kShowHide,
    kDockTop,
    kDockBottom,
    kUndock,
    kSavePos,
    kAutoexec,
    kExit,
};

// The checks of a fresh menu: "&Visible" while the bar is visible, and the
// docking item of the current DockState.
struct TrayMenuChecks {
    bool visible = false;
    DockState dock = DockState::kTop;

    bool operator==(const TrayMenuChecks&) const = default;
};

class TrayIcon {
  public:
    virtual ~TrayIcon() = default;
    // False when the notification area refused the icon.
    virtual bool Add(const std::string& tooltip) = 0;
    // Takes the icon out of the notification area; harmless when not added.
    virtual void Remove() = 0;
    // Pops up a fresh menu at the cursor with the given checks and returns
    // the item chosen, kNone when it was dismissed.
    virtual TrayMenuItem PopUpMenu(const TrayMenuChecks& checks) = 0;
};

}  // namespace vantrel
