#include "console/tray_events.h"

namespace vantrel {

namespace {

struct Row {
    int message;
    TrayMouse mouse;
};

constexpr Row kRows[] = {
    {513, {TrayEvent::kMouseDown, 1}},     {514, {TrayEvent::kMouseUp, 1}},
    {515, {TrayEvent::kMouseDblClick, 1}}, {516, {TrayEvent::kMouseDown, 2}},
    {517, {TrayEvent::kMouseUp, 2}},       {518, {TrayEvent::kMouseDblClick, 2}},
};

}  // namespace

TrayMouse TrayEventFor(int message) {
    for (const Row& row : kRows) {
        if (row.message == message) return row.mouse;
    }
    return TrayMouse{};
}

}  // namespace vantrel
