// The tray icon's mouse actions as data: which event each mouse message the
// notification area reports raises, with which button.
#pragma once

namespace vantrel {

enum class TrayEvent { kNone, kMouseDown, kMouseUp, kMouseDblClick };

struct TrayMouse {
    TrayEvent event = TrayEvent::kNone;
    int button = 0;  // 1 left, 2 right

    bool operator==(const TrayMouse&) const = default;
};

// The mouse message the notification area reports (513 to 518); other
// values raise nothing.
TrayMouse TrayEventFor(int message);

}  // namespace vantrel
