// modAppBar: the bar as a desktop application bar at the top or bottom edge
// of the monitor it is on, so that other windows make room for it. While registered,
// AppBarWndProc stands in front of the window's own procedure to answer the
// shell's notifications.
#pragma once

#include "platform/console_window.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// The shell's callback message for the bar: the first user message.
inline constexpr UINT kAppBarCallback = WM_USER;

// At the top edge, or the bottom one for kBottom. Nothing while already
// registered.
void AppBarDock(HWND window, DockState edge);
// Nothing while not registered.
void AppBarUndock();
bool AppBarRegistered();

LRESULT CALLBACK AppBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vantrel::win32
