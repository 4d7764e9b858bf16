#include "console/bar_placement.h"

#include <algorithm>
#include <string>
#include <vector>

#include "console/apply_settings.h"
#include "console/placement.h"
#include "interpreter/interpreter.h"
#include "interpreter/settings.h"
#include "startup/autoexec.h"

namespace vantrel {

void BarPlacement::PlaceAtStart() {
    dock_ = DockState::kTop;
    window_.Move(DockedBounds(PrimaryMonitor(window_.Monitors()), DockState::kTop));
}

void BarPlacement::ShowWin() {
    if (dock_ != DockState::kFloating) window_.AppBarDock(dock_);
    window_.Show();
}

void BarPlacement::HideWin() {
    window_.Hide();
    if (dock_ != DockState::kFloating) window_.AppBarUndock();
}

void BarPlacement::Dock(DockState where) {
    DockOnMonitor(where, MonitorOf(window_.Monitors(), window_.Bounds()));
}

void BarPlacement::DockOn(DockState where, Point monitorPoint) {
    DockOnMonitor(where, MonitorAt(window_.Monitors(), monitorPoint.x, monitorPoint.y));
}

void BarPlacement::DockOnMonitor(DockState where, const Monitor& monitor) {
    if (window_.IsVisible()) {
        if (dock_ != DockState::kFloating) window_.AppBarUndock();
        if (where != DockState::kFloating) {
            window_.Move(DockedBounds(monitor, where));
            window_.AppBarDock(where);
        }
    } else if (where != DockState::kFloating) {
        // A hidden bar docks when it is shown, on the monitor it is on.
        window_.Move(DockedBounds(monitor, where));
    }
    dock_ = where;
    ApplySettings();
}

std::optional<Point> BarPlacement::DockedMonitor() const {
    if (dock_ == DockState::kFloating) return std::nullopt;
    const std::vector<Monitor> monitors = window_.Monitors();
    const Monitor on = MonitorOf(monitors, window_.Bounds());
    if (on == PrimaryMonitor(monitors)) return std::nullopt;
    return Point{on.bounds.left, on.bounds.top};
}

void BarPlacement::FollowPointer(Point pointer) {
    if (dock_ != DockState::kFloating) return;
    const std::vector<Monitor> monitors = window_.Monitors();
    const Rect bar = window_.Bounds();
    const Rect from = MonitorOf(monitors, bar).bounds;
    const Rect to = MonitorAt(monitors, pointer.x, pointer.y).bounds;
    if (to == from) return;
    // The offset scales with the monitors' sizes, so that a bar near the
    // right edge of a wide monitor is near the right edge of a narrow one.
    auto place = [](int at, int fromStart, int fromSize, int toStart, int toSize, int size) {
        const long long offset =
            fromSize > 0 ? static_cast<long long>(at - fromStart) * toSize / fromSize : 0;
        const long long last = std::max<long long>(0, static_cast<long long>(toSize) - size);
        return static_cast<int>(toStart + std::clamp<long long>(offset, 0, last));
    };
    const int x = place(bar.left, from.left, from.width, to.left, to.width, bar.width);
    const int y = place(bar.top, from.top, from.height, to.top, to.height, bar.height);
    in_.SetVar(settings::kWinX, std::to_string(x));
    in_.SetVar(settings::kWinY, std::to_string(y));
    window_.Move(Rect{x, y, bar.width, bar.height});
}

void BarPlacement::ScaleChanged() {
    // The bar has its new size for the new scale; a docked bar takes its
    // edge again at the new height.
    if (dock_ != DockState::kFloating && window_.IsVisible()) {
        Dock(dock_);
    } else {
        ApplySettings();
    }
}

void BarPlacement::MouseMove(int cursorX, int cursorY, const DragKeys& keys) {
    DragResult r =
        DragStep(cursorX, cursorY, lastCursorX_, lastCursorY_, keys, dock_ == DockState::kFloating,
                 in_.SettingNumber(settings::kWinX), in_.SettingNumber(settings::kWinY),
                 in_.SettingNumber(settings::kWinWidth));
    Rect bounds = window_.Bounds();
    if (r.moved) {
        in_.SetVar(settings::kWinX, std::to_string(static_cast<long long>(r.winX)));
        in_.SetVar(settings::kWinY, std::to_string(static_cast<long long>(r.winY)));
        window_.Move(
            Rect{static_cast<int>(r.winX), static_cast<int>(r.winY), bounds.width, bounds.height});
    } else if (r.resized) {
        in_.SetVar(settings::kWinWidth, std::to_string(static_cast<long long>(r.winWidth)));
        window_.Move(Rect{bounds.left, bounds.top, static_cast<int>(r.winWidth), bounds.height});
    }
    lastCursorX_ = cursorX;
    lastCursorY_ = cursorY;
}

void BarPlacement::SavePos() {
    std::string err;
    SavePlacement(in_, dock_, DockedMonitor(), &err);
}

void BarPlacement::ApplySettings() {
    ApplyBarSettings(in_, window_, dock_, state_);
}

}  // namespace vantrel
