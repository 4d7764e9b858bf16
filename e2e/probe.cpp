// A test-only reader of the running console's windows, for the end-to-end
// tests. It runs in the console's Wine prefix, reads one command a line on
// its standard input and answers each with one JSON line:
//   snapshot  every top-level window of every Vantrel.exe process, with its
//             controls: class, id, text, screen rectangle, styles, topmost;
//             and the foreground window (with its process and title) and
//             the control with the focus; for a pop-up menu window, its
//             items as lines "depth<TAB>MFT_ bits<TAB>MFS_ bits<TAB>text",
//             each sub-menu's items after its own line
//   responds  whether every top-level window of the consoles answers a
//             WM_NULL sent with SendMessageTimeout within 200 ms, and the
//             longest answer in milliseconds
//   count EXE how many processes of that name run
//   dialogs   the consoles' visible dialog boxes (class "#32770"): title,
//             owner, rectangle, topmost, and the texts of their static
//             controls, buttons and edit boxes
//   edit TEXT sets the text of the first edit box of the first dialog
//   click CAPTION  presses the button of a dialog whose caption, "&" left
//             out and in any case, is CAPTION, as a click does: the
//             dialog gets the button's command
//   font HWND the cell height and average character width in pixels of the
//             font a control of the console draws with
//   unicode HEX  types the UTF-16 units HEX spells (four hexadecimal
//             digits each) into the focused window as KEYEVENTF_UNICODE input
//   quit      ends the probe
// Texts are read with WM_GETTEXT under a timeout: while a command line runs
// the console does not answer, and the text is then reported as null.
//
// A menu can be read only inside the process that made it: another process
// gets no answer from GetMenuItemInfo. So the probe lends itself to the
// console as the module of a short-lived WH_CALLWNDPROC hook on the menu's
// thread: the system loads this exe there, runs MenuHook on a message sent
// to the menu window, and MenuHook sends the items back with WM_COPYDATA.
// A control's font is read the same way: its handle means nothing in
// another process.
// tlhelp32.h needs what windows.h declares, so the order stays.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/window_tree.h"

// -- running inside the console's process ------------------------------------
// Under Wine, an exe loaded as a hook's module gets neither its imports
// bound nor its absolute addresses relocated, and none of the C++ runtime
// started (its entry point is never called there). So the
// code up to the end of this section binds the imports itself, from the
// GetProcAddress the probe passes along, and keeps to what needs neither the
// runtime nor a relocation: locals, globals reached relative to the code,
// and Win32 calls once bound.
namespace {

using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
using LoadLibraryFn = HMODULE(WINAPI*)(LPCSTR);

bool importsBound = false;
char menuText[16384];

// The start of the image that holds the given address: the nearest page at
// or below it that begins with the "MZ" signature.
BYTE* ImageHolding(const void* address) {
    auto* page = reinterpret_cast<BYTE*>(reinterpret_cast<ULONG_PTR>(address) & ~ULONG_PTR{0xFFF});
    while (reinterpret_cast<IMAGE_DOS_HEADER*>(page)->e_magic != IMAGE_DOS_SIGNATURE)
        page -= 0x1000;
    return page;
}

// System libraries sit at the same address in every process of a session,
// so the probe's own GetProcAddress is valid in the console too.
void BindImports(GetProcAddressFn getProc) {
    FARPROC found =
        getProc(reinterpret_cast<HMODULE>(ImageHolding(reinterpret_cast<const void*>(getProc))),
                "LoadLibraryA");
    auto loadLibrary = reinterpret_cast<LoadLibraryFn>(reinterpret_cast<void (*)()>(found));
    if (!loadLibrary) return;
    BYTE* base = ImageHolding(&importsBound);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name; ++d) {
        HMODULE module = loadLibrary(reinterpret_cast<LPCSTR>(base + d->Name));
        if (!module) return;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
            base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            LPCSTR name = IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)
                              ? reinterpret_cast<LPCSTR>(IMAGE_ORDINAL(names->u1.Ordinal))
                              : reinterpret_cast<LPCSTR>(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(
                                                             base + names->u1.AddressOfData)
                                                             ->Name);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(getProc(module, name));
        }
    }
    importsBound = true;
}

// One line per item: its depth, MFT_ type bits, MFS_ state bits and text,
// separated by tabs; a sub-menu's items follow its own line.
void AddItems(HMENU menu, int depth) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count && depth < 4; ++i) {
        char text[256] = "";
        MENUITEMINFOA item;
        for (UINT b = 0; b < sizeof item; ++b) reinterpret_cast<BYTE*>(&item)[b] = 0;
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
        item.dwTypeData = text;
        item.cch = sizeof text;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item)) text[0] = '\0';
        char line[320];
        wsprintfA(line, "%d\t%u\t%u\t%s\n", depth, item.fType, item.fState, text);
        if (lstrlenA(menuText) + lstrlenA(line) < static_cast<int>(sizeof menuText)) {
            lstrcatA(menuText, line);
        }
        if (item.hSubMenu) AddItems(item.hSubMenu, depth + 1);
    }
}

}  // namespace

// Private message numbers, known without any call: the hook must tell the
// probe's messages from the thread's others before it may call anything.
constexpr UINT kReadMenu = WM_APP + 0x2F17;
constexpr UINT kReadFont = WM_APP + 0x2F18;

namespace {

// The control's font as "height<TAB>average width".
void DescribeFont(HWND control) {
    menuText[0] = '\0';
    auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HDC dc = GetDC(control);
    if (!dc) return;
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA tm;
    for (UINT b = 0; b < sizeof tm; ++b) reinterpret_cast<BYTE*>(&tm)[b] = 0;
    if (GetTextMetricsA(dc, &tm)) {
        wsprintfA(menuText, "%d\t%d", static_cast<int>(tm.tmHeight),
                  static_cast<int>(tm.tmAveCharWidth));
    }
    if (old) SelectObject(dc, old);
    ReleaseDC(control, dc);
}

}  // namespace

// Sent to a menu window as kReadMenu; wParam: the probe's GetProcAddress,
// lParam: the window to send the items to.
extern "C" __declspec(dllexport) LRESULT CALLBACK MenuHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const bool ours = call->message == kReadMenu || call->message == kReadFont;
    if (code != HC_ACTION || !ours || !call->wParam || !call->lParam) {
        return importsBound ? CallNextHookEx(nullptr, code, wParam, lParam) : 0;
    }
    if (!importsBound) BindImports(reinterpret_cast<GetProcAddressFn>(call->wParam));
    if (!importsBound) return 0;
    menuText[0] = '\0';
    if (call->message == kReadFont) {
        DescribeFont(call->hwnd);
    } else if (auto menu = reinterpret_cast<HMENU>(SendMessageA(call->hwnd, MN_GETHMENU, 0, 0))) {
        AddItems(menu, 0);
    }
    COPYDATASTRUCT data{};
    data.dwData = 1;
    data.cbData = static_cast<DWORD>(lstrlenA(menuText) + 1);
    data.lpData = menuText;
    SendMessageA(reinterpret_cast<HWND>(call->lParam), WM_COPYDATA, 0,
                 reinterpret_cast<LPARAM>(&data));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// -- the probe's own process ---------------------------------------------------
namespace {

using vantrel::win32::ChildWindows;
using vantrel::win32::ClassName;

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

bool ReadText(HWND window, std::string* text) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs,
                             &length)) {
        return false;
    }
    text->assign(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text->data()),
                             SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied)) {
        return false;
    }
    text->resize(copied);
    return true;
}

std::string Text(HWND window) {
    std::string text;
    return ReadText(window, &text) ? Json(text) : "null";
}

// A JSON list of the items, each as json(item) writes it.
template <typename T, typename F>
std::string JsonList(const std::vector<T>& items, F json) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        out += i ? "," : "";
        out += json(items[i]);
    }
    return out + "]";
}

// The items MenuHook sends back, as they arrive.
std::string menuItems;
bool menuAnswered = false;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const char* text = static_cast<const char*>(data->lpData);
        menuItems.assign(text, text && data->cbData ? data->cbData - 1 : 0);
        menuAnswered = true;
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND Receiver() {
    static HWND receiver = [] {
        WNDCLASSA c{};
        c.lpfnWndProc = ReceiverProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "VantrelProbeReceiver";
        RegisterClassA(&c);
        return CreateWindowExA(0, c.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               c.hInstance, nullptr);
    }();
    return receiver;
}

// Sends the window one of the hook's messages with the hook in place on its
// thread; true when the hook answered (into menuItems).
bool AskHook(HWND window, UINT message) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, MenuHook, GetModuleHandleA(nullptr), thread);
    if (!hook) return false;
    menuAnswered = false;
    DWORD_PTR ignored = 0;
    // Waiting here, the probe still takes the WM_COPYDATA sent back to it.
    SendMessageTimeoutA(window, message, reinterpret_cast<WPARAM>(&GetProcAddress),
                        reinterpret_cast<LPARAM>(Receiver()), SMTO_ABORTIFHUNG, kTextTimeoutMs,
                        &ignored);
    UnhookWindowsHookEx(hook);
    return menuAnswered;
}

std::string Font(HWND control) {
    if (!IsWindow(control) || !AskHook(control, kReadFont)) return "{\"error\":\"no answer\"}";
    int height = 0, width = 0;
    std::sscanf(menuItems.c_str(), "%d\t%d", &height, &width);
    return "{\"height\":" + std::to_string(height) + ",\"width\":" + std::to_string(width) + "}";
}

std::string Handle(HWND window) {
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
}

std::string Describe(HWND window, bool topLevel) {
    RECT r{};
    GetWindowRect(window, &r);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    char head[512];
    std::snprintf(head, sizeof head,
                  "{\"hwnd\":%s,\"class\":%s,\"id\":%ld,\"rect\":[%ld,%ld,%ld,%ld],"
                  "\"style\":%lu,\"visible\":%s,\"topmost\":%s,\"text\":",
                  Handle(window).c_str(), Json(ClassName(window)).c_str(),
                  GetWindowLongA(window, GWL_ID), r.left, r.top, r.right, r.bottom,
                  static_cast<unsigned long>(style), IsWindowVisible(window) ? "true" : "false",
                  (exStyle & WS_EX_TOPMOST) ? "true" : "false");
    std::string out = head + Text(window);
    if (topLevel && ClassName(window) == "#32768" && IsWindowVisible(window)) {
        out += ",\"menu\":" + (AskHook(window, kReadMenu) ? Json(menuItems) : "null");
    }
    if (topLevel) {
        out += ",\"children\":" +
               JsonList(ChildWindows(window), [](HWND child) { return Describe(child, false); });
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

std::vector<HWND> ConsoleWindows(const char* exe, std::vector<DWORD>* pids) {
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
    if (pids) *pids = search.pids;
    return search.windows;
}

std::string Snapshot(const char* exe) {
    WindowSearch search;
    search.windows = ConsoleWindows(exe, &search.pids);
    // The keyboard focus as the foreground window's thread sees it.
    HWND foreground = GetForegroundWindow();
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &gui);
    DWORD foregroundPid = 0;
    GetWindowThreadProcessId(foreground, &foregroundPid);
    char foregroundTitle[256] = "";
    GetWindowTextA(foreground, foregroundTitle, sizeof foregroundTitle);
    std::string out = "{\"foreground\":" + Handle(foreground) +
                      ",\"foreground_pid\":" + std::to_string(foregroundPid) +
                      ",\"foreground_title\":" + Json(foregroundTitle) +
                      ",\"focus\":" + Handle(gui.hwndFocus);
    out += ",\"pids\":" + JsonList(search.pids, [](DWORD pid) { return std::to_string(pid); });
    return out + ",\"windows\":" +
           JsonList(search.windows, [](HWND window) { return Describe(window, true); }) + "}";
}

std::vector<HWND> Dialogs(const char* exe) {
    std::vector<HWND> dialogs;
    for (HWND window : ConsoleWindows(exe, nullptr)) {
        if (ClassName(window) == "#32770" && IsWindowVisible(window)) dialogs.push_back(window);
    }
    return dialogs;
}

// The texts of a dialog's visible controls of one class, as a JSON list.
std::string TextsJson(HWND dialog, const char* cls) {
    std::string out = "[";
    for (HWND child : ChildWindows(dialog)) {
        if (lstrcmpiA(ClassName(child).c_str(), cls) != 0 || !IsWindowVisible(child)) continue;
        out += out.size() > 1 ? "," : "";
        out += Text(child);
    }
    return out + "]";
}

std::string DialogJson(HWND dialog) {
    RECT r{};
    GetWindowRect(dialog, &r);
    char head[256];
    std::snprintf(
        head, sizeof head, "{\"hwnd\":%s,\"owner\":%s,\"rect\":[%ld,%ld,%ld,%ld],\"topmost\":%s,",
        Handle(dialog).c_str(), Handle(GetWindow(dialog, GW_OWNER)).c_str(), r.left, r.top, r.right,
        r.bottom, (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) ? "true" : "false");
    return head + std::string("\"title\":") + Text(dialog) +
           ",\"statics\":" + TextsJson(dialog, "Static") +
           ",\"buttons\":" + TextsJson(dialog, "Button") +
           ",\"edits\":" + TextsJson(dialog, "Edit") + "}";
}

std::string Done(bool done) {
    return std::string("{\"done\":") + (done ? "true" : "false") + "}";
}

std::string WithoutAmpersands(std::string text) {
    std::erase(text, '&');
    return text;
}

// The dialogs' first control of the class whose text, "&" left out and in
// any case, is caption; with no caption, the first of the class.
HWND DialogControl(const char* exe, const char* cls, const char* caption = nullptr) {
    for (HWND dialog : Dialogs(exe)) {
        for (HWND child : ChildWindows(dialog)) {
            std::string text;
            if (lstrcmpiA(ClassName(child).c_str(), cls) == 0 &&
                (!caption ||
                 (ReadText(child, &text) && lstrcmpiA(WithoutAmpersands(text).c_str(),
                                                      WithoutAmpersands(caption).c_str()) == 0))) {
                return child;
            }
        }
    }
    return nullptr;
}

std::string SetEditText(const char* exe, const std::string& text) {
    HWND edit = DialogControl(exe, "Edit");
    DWORD_PTR ignored = 0;
    return Done(edit &&
                SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                    SMTO_ABORTIFHUNG, kTextTimeoutMs, &ignored));
}

// Posted, not sent: the command ends the dialog's modal loop, and the
// line behind the dialog goes on before any answer could come back.
std::string ClickButton(const char* exe, const std::string& caption) {
    HWND button = DialogControl(exe, "Button", caption.c_str());
    return Done(button && PostMessageA(GetParent(button), WM_COMMAND,
                                       MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                                       reinterpret_cast<LPARAM>(button)));
}

std::string Responds(const char* exe) {
    constexpr UINT kAnswerMs = 200;
    bool all = true;
    DWORD slowest = 0;
    std::vector<HWND> windows = ConsoleWindows(exe, nullptr);
    // Hidden windows are left out: the thread that runs automation calls
    // owns the system's hidden helper windows (an input method's, COM's)
    // and serves them only between calls, which can take as long as the
    // program a script waits for; no user sees them.
    std::erase_if(windows, [](HWND window) { return !IsWindowVisible(window); });
    for (HWND window : windows) {
        DWORD start = GetTickCount();
        DWORD_PTR ignored = 0;
        // A window closed since the list was made (the pane, cleared as a
        // line starts) is no window that failed to answer.
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &ignored) &&
            IsWindow(window)) {
            all = false;
        }
        DWORD took = GetTickCount() - start;
        if (took > slowest) slowest = took;
    }
    return std::string("{\"answered\":") + (all ? "true" : "false") +
           ",\"windows\":" + std::to_string(windows.size()) +
           ",\"slowest_ms\":" + std::to_string(slowest) + "}";
}

}  // namespace

// Types UTF-16 units, given as hexadecimal digits four to a unit, into the
// window that has the keyboard focus as KEYEVENTF_UNICODE input: what an
// input method or an on-screen keyboard delivers, which needs no key of the
// X keyboard for the character.
std::string TypeUnits(const std::string& hex) {
    bool done = true;
    for (size_t at = 0; at + 4 <= hex.size(); at += 4) {
        const WORD unit = static_cast<WORD>(std::strtoul(hex.substr(at, 4).c_str(), nullptr, 16));
        INPUT inputs[2]{};
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = unit;
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
        }
        done = SendInput(2, inputs, sizeof(INPUT)) == 2 && done;
    }
    return Done(done);
}

// Registers a hotkey for as long as the probe runs, as another program
// holding a combination would.
std::string HoldHotkey(const std::string& args) {
    static int next = 1;
    unsigned modifiers = 0, key = 0;
    if (std::sscanf(args.c_str(), "%u %u", &modifiers, &key) != 2) return Done(false);
    return Done(RegisterHotKey(nullptr, next++, modifiers, key) != FALSE);
}

// Puts count characters of text on the clipboard, as a copy would.
std::string CopyText(const std::string& args) {
    const size_t count = std::strtoul(args.c_str(), nullptr, 10);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (count + 1) * sizeof(wchar_t));
    if (!memory) return Done(false);
    auto* text = static_cast<wchar_t*>(GlobalLock(memory));
    for (size_t i = 0; i < count; ++i) text[i] = static_cast<wchar_t>(L'a' + i % 26);
    text[count] = L'\0';
    GlobalUnlock(memory);
    bool done = OpenClipboard(nullptr) && EmptyClipboard() &&
                SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!done) GlobalFree(memory);
    CloseClipboard();
    return Done(done);
}

int main(int argc, char** argv) {
    const char* exe = argc > 1 ? argv[1] : "Vantrel.exe";
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        std::string command(line);
        while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) {
            command.pop_back();
        }
        if (command == "quit") break;
        std::string answer = "{\"error\":\"unknown\"}";
        if (command == "snapshot") answer = Snapshot(exe);
        if (command == "responds") answer = Responds(exe);
        if (command == "dialogs") {
            answer = "{\"dialogs\":" + JsonList(Dialogs(exe), DialogJson) + "}";
        }
        if (command.rfind("edit ", 0) == 0) answer = SetEditText(exe, command.substr(5));
        if (command.rfind("click ", 0) == 0) answer = ClickButton(exe, command.substr(6));
        if (command.rfind("font ", 0) == 0) {
            answer = Font(reinterpret_cast<HWND>(
                static_cast<UINT_PTR>(std::strtoull(command.c_str() + 5, nullptr, 10))));
        }
        if (command.rfind("unicode ", 0) == 0) answer = TypeUnits(command.substr(8));
        if (command.rfind("hotkey ", 0) == 0) answer = HoldHotkey(command.substr(7));
        if (command.rfind("copy ", 0) == 0) answer = CopyText(command.substr(5));
        if (command.rfind("count ", 0) == 0) {
            answer =
                "{\"count\":" + std::to_string(ProcessesNamed(command.c_str() + 6).size()) + "}";
        }
        std::fputs((answer + "\n").c_str(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
