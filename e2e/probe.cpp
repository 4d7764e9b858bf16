// A test-only reader of the running console's windows, for the end-to-end
// tests. It runs in the console's Wine prefix, reads one command a line on
// its standard input and answers each with one JSON line:
//   snapshot  every top-level window of every Vantrel.exe process, with its
//             controls: class, id, text, screen rectangle, styles, topmost;
//             and the foreground window and the control with the focus
//   quit      ends the probe
// Texts are read with WM_GETTEXT under a timeout: while a command line runs
// the console does not answer, and the text is then reported as null.
// tlhelp32.h needs what windows.h declares, so the order stays.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr UINT kTextTimeoutMs = 1500;

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            // Bytes of the ANSI code page travel as \u00XX; the reader turns
            // them back into bytes.
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs,
                             &length)) {
        return "null";
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied)) {
        return "null";
    }
    text.resize(copied);
    return Json(text);
}

std::string Handle(HWND window) {
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string Describe(HWND window, bool topLevel) {
    RECT r{};
    GetWindowRect(window, &r);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    char head[512];
    std::snprintf(head, sizeof head,
                  "{\"hwnd\":%s,\"class\":%s,\"id\":%ld,\"rect\":[%ld,%ld,%ld,%ld],"
                  "\"style\":%lu,\"exstyle\":%lu,\"visible\":%s,\"topmost\":%s,\"text\":",
                  Handle(window).c_str(), Json(ClassOf(window)).c_str(),
                  GetWindowLongA(window, GWL_ID), r.left, r.top, r.right, r.bottom,
                  static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle),
                  IsWindowVisible(window) ? "true" : "false",
                  (exStyle & WS_EX_TOPMOST) ? "true" : "false");
    std::string out = head + Text(window);
    if (topLevel) {
        std::vector<HWND> children;
        EnumChildWindows(
            window,
            [](HWND child, LPARAM list) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&children));
        out += ",\"children\":[";
        for (size_t i = 0; i < children.size(); ++i) {
            out += (i ? "," : "") + Describe(children[i], false);
        }
        out += "]";
    }
    return out + "}";
}

std::vector<DWORD> ProcessesNamed(const char* exe) {
    std::vector<DWORD> pids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return pids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exe) == 0) pids.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return pids;
}

struct WindowSearch {
    std::vector<DWORD> pids;
    std::vector<HWND> windows;
};

std::string Snapshot(const char* exe) {
    WindowSearch search{ProcessesNamed(exe), {}};
    EnumWindows(
        [](HWND window, LPARAM param) {
            auto* s = reinterpret_cast<WindowSearch*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            for (DWORD p : s->pids) {
                if (p == pid) s->windows.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    // The keyboard focus as the foreground window's thread sees it.
    HWND foreground = GetForegroundWindow();
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &gui);
    std::string out = "{\"foreground\":" + Handle(foreground) +
                      ",\"focus\":" + Handle(gui.hwndFocus) + ",\"pids\":[";
    for (size_t i = 0; i < search.pids.size(); ++i) {
        out += (i ? "," : "") + std::to_string(search.pids[i]);
    }
    out += "],\"windows\":[";
    for (size_t i = 0; i < search.windows.size(); ++i) {
        out += (i ? "," : "") + Describe(search.windows[i], true);
    }
    return out + "]}";
}

}  // namespace

int main(int argc, char** argv) {
    const char* exe = argc > 1 ? argv[1] : "Vantrel.exe";
    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
        std::string command(line);
        while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) {
            command.pop_back();
        }
        if (command == "quit") break;
        std::string answer = command == "snapshot" ? Snapshot(exe) : "{\"error\":\"unknown\"}";
        std::fputs((answer + "\n").c_str(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
