// The screen's scale as a per-monitor aware program sees it. The calls that
// give a window's or a monitor's own DPI came with Windows 8.1 and 10 and
// are missing from older systems and from Wine 8; they are looked up at run
// time, and without them every monitor has the system's DPI.
#pragma once

#include <vector>

#include "platform/screen_metrics.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// Asks for per-monitor (v2) awareness in case the manifest's setting was
// not applied; refused harmlessly when the process already has one.
void BecomePerMonitorAware();

// The DPI a window is drawn at.
int WindowDpi(HWND window);
// The DPI of a monitor.
int MonitorDpi(HMONITOR monitor);
// The system's DPI: the screen's logical pixels per inch.
int SystemDpi();

// Every monitor of the desktop, in the system's order.
std::vector<Monitor> DesktopMonitors();

}  // namespace vantrel::win32
