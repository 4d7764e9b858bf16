#include "platform/win32/win32_input.h"

namespace vantrel::win32 {

namespace {

// Keys of the navigation block that need the extended-key flag, or they
// arrive as the keypad's digits.
bool IsExtended(int vk) {
    switch (vk) {
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_INSERT:
        case VK_DELETE:
        case VK_DIVIDE:
        case VK_NUMLOCK:
        case VK_SNAPSHOT:
            return true;
        default:
            return false;
    }
}

INPUT Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

INPUT Unicode(wchar_t c, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = c;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

// One keystroke as key events: modifiers down, the key, modifiers up.
void AddStroke(const KeyStroke& key, std::vector<INPUT>* events) {
    bool shift = key.shift, ctrl = key.ctrl, alt = key.alt;
    int vk = key.code;
    if (key.kind == KeyStroke::kCharacter) {
        // ASCII goes as the keys of the layout, so that ^c is Ctrl+C; any
        // other character, or one the layout lacks, as the character itself,
        // whatever keys would make it on this keyboard.
        const SHORT scan = key.code < 0x80 ? VkKeyScanW(static_cast<wchar_t>(key.code)) : -1;
        if (scan == -1) {
            const auto code = static_cast<char32_t>(key.code);
            if (code >= 0x10000 && code <= 0x10FFFF) {
                const auto high = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
                const auto low = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
                for (wchar_t unit : {high, low}) {
                    events->push_back(Unicode(unit, false));
                    events->push_back(Unicode(unit, true));
                }
                return;
            }
            events->push_back(Unicode(static_cast<wchar_t>(code), false));
            events->push_back(Unicode(static_cast<wchar_t>(code), true));
            return;
        }
        vk = LOBYTE(scan);
        shift = shift || (HIBYTE(scan) & 1);
        ctrl = ctrl || (HIBYTE(scan) & 2);
        alt = alt || (HIBYTE(scan) & 4);
    }
    if (shift) events->push_back(Key(VK_SHIFT, false));
    if (ctrl) events->push_back(Key(VK_CONTROL, false));
    if (alt) events->push_back(Key(VK_MENU, false));
    events->push_back(Key(static_cast<WORD>(vk), false));
    events->push_back(Key(static_cast<WORD>(vk), true));
    if (alt) events->push_back(Key(VK_MENU, true));
    if (ctrl) events->push_back(Key(VK_CONTROL, true));
    if (shift) events->push_back(Key(VK_SHIFT, true));
}

}  // namespace

std::vector<INPUT> KeyEvents(const std::vector<KeyStroke>& keys) {
    std::vector<INPUT> events;
    for (const KeyStroke& key : keys) AddStroke(key, &events);
    return events;
}

void Win32Input::SendKeys(const std::vector<KeyStroke>& keys) {
    std::vector<INPUT> events = KeyEvents(keys);
    if (!events.empty()) SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

bool Win32Input::CursorPos(int* x, int* y) const {
    POINT p;
    if (!GetCursorPos(&p)) return false;
    *x = p.x;
    *y = p.y;
    return true;
}

void Win32Input::SetCursorPos(int x, int y) {
    ::SetCursorPos(x, y);
}

void Win32Input::Click(MouseButton button) {
    DWORD down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
    if (button == MouseButton::kRight) down = MOUSEEVENTF_RIGHTDOWN, up = MOUSEEVENTF_RIGHTUP;
    if (button == MouseButton::kMiddle) down = MOUSEEVENTF_MIDDLEDOWN, up = MOUSEEVENTF_MIDDLEUP;
    INPUT events[2]{};
    events[0].type = events[1].type = INPUT_MOUSE;
    events[0].mi.dwFlags = down;
    events[1].mi.dwFlags = up;
    SendInput(2, events, sizeof(INPUT));
}

bool Win32Input::KeyDown(int virtualKey) const {
    // The asynchronous state: the thread's own key state (GetKeyState) only
    // follows the keyboard while this program has the foreground, and the
    // hotkey is for when another one has it.
    return virtualKey > 0 && virtualKey < 256 && (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace vantrel::win32
