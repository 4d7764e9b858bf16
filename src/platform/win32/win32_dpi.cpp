#include "platform/win32/win32_dpi.h"

namespace vantrel::win32 {

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and MDT_EFFECTIVE_DPI, spelled
// out: the headers of older tool chains lack them.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
constexpr int kEffectiveDpi = 0;

using SetAwarenessContextFn = BOOL(WINAPI*)(HANDLE);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <typename Fn>
Fn Lookup(const char* module, const char* name) {
    HMODULE m = GetModuleHandleA(module);
    if (!m) m = LoadLibraryA(module);
    if (!m) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(m, name)));
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
            Monitor{Rect{r.left, r.top, r.right - r.left, r.bottom - r.top},
                    (info.dwFlags & MONITORINFOF_PRIMARY) != 0, MonitorDpi(monitor)});
    }
    return TRUE;
}

}  // namespace

void BecomePerMonitorAware() {
    static const auto setContext =
        Lookup<SetAwarenessContextFn>("user32.dll", "SetProcessDpiAwarenessContext");
    if (setContext) {
        setContext(kPerMonitorAwareV2);
    } else {
        SetProcessDPIAware();
    }
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kStandardDpi;
}

int WindowDpi(HWND window) {
    static const auto forWindow = Lookup<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
    UINT dpi = forWindow && window ? forWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int MonitorDpi(HMONITOR monitor) {
    static const auto forMonitor = Lookup<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0) {
        return static_cast<int>(y);
    }
    return SystemDpi();
}

std::vector<Monitor> DesktopMonitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

}  // namespace vantrel::win32
