#include "console/placement.h"

#include <cmath>

#include "interpreter/console_host.h"

namespace vantrel {

DragResult DragStep(int cursorX, int cursorY, int lastX, int lastY, const DragKeys& keys,
                    bool floating, double winX, double winY, double winWidth) {
    DragResult r{false, false, winX, winY, winWidth};
    if (!(keys.left && keys.right && !keys.middle) || !floating) return r;
    const int dx = cursorX - lastX;
    const int dy = cursorY - lastY;
    if (!keys.shift && !keys.ctrl && !keys.alt) {
        r.winX = std::nearbyint(winX + dx);
        r.winY = std::nearbyint(winY + dy);
        r.moved = true;
    } else if (keys.shift && !keys.ctrl && !keys.alt) {
        double width = std::nearbyint(winWidth + dx);
        if (width >= kMinFloatingWidthPixels) {
            r.winWidth = width;
            r.resized = true;
        }
    }
    return r;
}

Rect DockedBounds(const Monitor& monitor, DockState dock) {
    const int height = MetricsForDpi(monitor.dpi).barHeight;
    const Rect& m = monitor.bounds;
    int top = dock == DockState::kBottom ? m.top + m.height - height : m.top;
    return Rect{m.left, top, m.width, height};
}

}  // namespace vantrel
