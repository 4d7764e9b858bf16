#include "commands/window_commands.h"

#include <cmath>
#include <cstdio>

#include "interpreter/interpreter.h"
#include "interpreter/line_text.h"
#include "text/case_fold.h"

namespace vantrel {

namespace {

constexpr char kPidHeader[] = "  PID  |";
constexpr int kTitleIndent = 30;
constexpr char kTitleHeader[] = "Window title";
constexpr int kPidColumn = 7;
constexpr int kTitleColumn = 72;

bool TitleContains(const std::string& title, const std::string& fragment) {
    return !title.empty() &&
           text::LowerCase(title).find(text::LowerCase(fragment)) != std::string::npos;
}

template <typename Keep>
std::vector<WindowHandle> FindWindows(const DesktopWindows& windows, Keep keep) {
    std::vector<WindowHandle> found;
    for (WindowHandle w : windows.TopLevelWindows()) {
        if (keep(w)) found.push_back(w);
    }
    if (found.empty()) found.push_back(0);
    return found;
}

// The windows a FOCUS or CLOSE target names.
std::vector<WindowHandle> TargetWindows(const DesktopWindows& windows, const Command& c) {
    unsigned long pid = TargetPid(c);
    return pid ? FindWindowsByPid(windows, pid) : FindWindowsByTitle(windows, c.args);
}

}  // namespace

std::string GetWindowTitle(const DesktopWindows& windows, WindowHandle window) {
    return windows.WindowTitle(window);
}

std::vector<WindowHandle> FindWindowsByTitle(const DesktopWindows& windows,
                                             const std::string& fragment) {
    return FindWindows(windows, [&](WindowHandle w) {
        return TitleContains(GetWindowTitle(windows, w), fragment);
    });
}

std::vector<WindowHandle> FindWindowsByPid(const DesktopWindows& windows, unsigned long pid) {
    return FindWindows(windows, [&](WindowHandle w) { return windows.WindowProcessId(w) == pid; });
}

unsigned long TargetPid(const Command& c) {
    if (!c.Arg(2).empty()) return 0;
    double n = std::nearbyint(LeadingNumber(c.args));
    if (!(n > 0) || n > 2147483647.0) return 0;
    return static_cast<unsigned long>(n);
}

std::string WinsLine(unsigned long pid, const std::string& title) {
    char id[32];
    std::snprintf(id, sizeof id, "%6lu", pid);
    return std::string(id) + " | " + title;
}

void FocusCommand(Interpreter& in, const Command& c) {
    DesktopWindows& windows = in.Os().windows;
    WindowHandle first = TargetWindows(windows, c)[0];
    if (first) windows.BringToTop(first);
}

void CloseCommand(Interpreter& in, const Command& c) {
    DesktopWindows& windows = in.Os().windows;
    for (WindowHandle w : TargetWindows(windows, c)) {
        if (w) windows.RequestClose(w);
    }
}

void KillCommand(Interpreter& in, const Command& c) {
    DesktopWindows& windows = in.Os().windows;
    if (unsigned long pid = TargetPid(c)) {
        windows.TerminateProcess(pid);
        return;
    }
    for (WindowHandle w : FindWindowsByTitle(windows, c.args)) {
        if (!w) continue;
        if (unsigned long pid = windows.WindowProcessId(w)) windows.TerminateProcess(pid);
    }
}

void WinsCommand(Interpreter& in, const Command& c) {
    in.PrintOut(kPidHeader + std::string(kTitleIndent, ' ') + kTitleHeader);
    in.PrintOut(std::string(kPidColumn, '-') + "|" + std::string(kTitleColumn, '-'));
    const DesktopWindows& windows = in.Os().windows;
    const std::string fragment = text::LowerCase(c.args);
    for (WindowHandle w : windows.TopLevelWindows()) {
        unsigned long pid = windows.WindowProcessId(w);
        std::string title = GetWindowTitle(windows, w);
        if (TitleContains(title, fragment)) in.PrintOut(WinsLine(pid, title));
    }
}

}  // namespace vantrel
