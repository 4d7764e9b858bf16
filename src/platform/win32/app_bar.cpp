#include "platform/win32/app_bar.h"

namespace vantrel::win32 {

namespace {

// The shell's notification codes in the callback's first parameter.
constexpr WPARAM kPositionChanged = 1;
constexpr WPARAM kFullScreenApp = 2;

// One bar per process: the module's own state.
HWND barWindow = nullptr;
WNDPROC savedProc = nullptr;
APPBARDATA record{};

void MoveTo(const RECT& r) {
    SetWindowPos(barWindow, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The bar's own monitor: it docks at that monitor's edge, whichever it is.
RECT MonitorRect(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) {
        return info.rcMonitor;
    }
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    return desktop;
}

// The monitor less a task bar that lies inside it, on the side it sits.
RECT WorkArea(const RECT& desktop) {
    RECT work = desktop;
    APPBARDATA taskBar{};
    taskBar.cbSize = sizeof taskBar;
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &taskBar)) return work;
    const RECT& t = taskBar.rc;
    RECT overlap;
    if (!IntersectRect(&overlap, &t, &desktop)) return work;
    if (t.top > desktop.top) {
        work.bottom = t.top;
    } else if (t.bottom < desktop.bottom) {
        work.top = t.bottom;
    } else if (t.right >= desktop.right) {
        work.right = t.left;
    } else {
        work.left = t.right;
    }
    return work;
}

// Asks the shell for the rectangle in the record and takes what it grants.
void QueryAndSetPos() {
    SHAppBarMessage(ABM_QUERYPOS, &record);
    SHAppBarMessage(ABM_SETPOS, &record);
    MoveTo(record.rc);
}

}  // namespace

bool AppBarRegistered() {
    return savedProc != nullptr;
}

void AppBarDock(HWND window, DockState dock) {
    if (savedProc) return;
    const UINT edge = dock == DockState::kBottom ? ABE_BOTTOM : ABE_TOP;
    barWindow = window;
    // No task-bar button for a bar; the bit stays after undocking.
    SetWindowLongPtrA(window, GWL_EXSTYLE,
                      GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    RECT desktop = MonitorRect(window), bar;
    GetWindowRect(window, &bar);
    const LONG h = bar.bottom - bar.top;

    savedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AppBarWndProc)));
    record = APPBARDATA{};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uCallbackMessage = kAppBarCallback;
    if (!SHAppBarMessage(ABM_NEW, &record)) {
        AppBarUndock();
        return;
    }
    RECT r = WorkArea(desktop);
    if (edge == ABE_BOTTOM) {
        r.top = r.bottom - h;
    } else {
        r.bottom = r.top + h;
    }
    record.uEdge = edge;
    record.rc = r;
    QueryAndSetPos();
}

void AppBarUndock() {
    if (!savedProc) return;
    SHAppBarMessage(ABM_REMOVE, &record);
    SetWindowLongPtrA(barWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProc));
    savedProc = nullptr;
}

LRESULT CALLBACK AppBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC next = savedProc;
    if (message == WM_ACTIVATE) {
        SHAppBarMessage(ABM_ACTIVATE, &record);
    } else if (message == kAppBarCallback && wParam == kPositionChanged) {
        GetWindowRect(window, &record.rc);
        QueryAndSetPos();
    } else if (message == kAppBarCallback && wParam == kFullScreenApp) {
        // A full-screen program opened (lParam not 0) or closed.
        SetWindowPos(window, lParam ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // The handlers above can undock (a message pumped inside them), so the
    // procedure taken at entry is the one called.
    return next ? CallWindowProcA(next, window, message, wParam, lParam)
                : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace vantrel::win32
