// Main's controls as the console logic asks for them: the two text boxes
// (BarWindow) and the window's place and layout (ConsoleWindow).
#include <algorithm>

#include "platform/win32/app_bar.h"
#include "platform/win32/foreground.h"
#include "platform/win32/main_window.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/window_tree.h"

namespace vantrel::win32 {

namespace {

// Repaints at once: a line that starts shows its busy colours before it
// does anything else.
void RepaintNow(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

HFONT BoxFont(HWND box) {
    return reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
}

}  // namespace

std::string Main::CommandText() const {
    return commandText_ ? *commandText_ : WindowText(cmdBox_);
}

void Main::SetCommandText(const std::string& text) {
    if (commandText_ == text) return;
    SetWindowTextA(cmdBox_, text.c_str());
    // After the box's own change notification, which forgets the text.
    commandText_ = text;
    FitFont(cmdBox_, text);
}

// The console counts in bytes of its text, the box in UTF-16 units.
void Main::SelectCommandText(int start, int length) {
    const std::string text = CommandText();
    const auto units = [&](int bytes) {
        bytes = std::clamp(bytes, 0, static_cast<int>(text.size()));
        return static_cast<int>(Widen(std::string_view(text).substr(0, bytes)).size());
    };
    SendMessageA(cmdBox_, EM_SETSEL, units(start), units(start + length));
}

namespace {

// The bytes of the text before a position of the box, which counts UTF-16
// units and may stand between the two halves of a character: such a
// position counts as the character's start, so that nothing cuts it.
int BytesBefore(const std::wstring& wide, DWORD units) {
    size_t at = std::min<size_t>(units, wide.size());
    if (at > 0 && at < wide.size() && IS_HIGH_SURROGATE(wide[at - 1]) &&
        IS_LOW_SURROGATE(wide[at])) {
        --at;
    }
    return static_cast<int>(Narrow(wide.data(), at).size());
}

}  // namespace

int Main::CommandCaret() const {
    DWORD start = 0, end = 0;
    SendMessageA(cmdBox_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return BytesBefore(WideWindowText(cmdBox_), end);
}

std::pair<int, int> Main::CommandSelection() const {
    DWORD start = 0, end = 0;
    SendMessageW(cmdBox_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    // The box counts UTF-16 units, the console bytes of its text.
    const std::wstring wide = WideWindowText(cmdBox_);
    return {BytesBefore(wide, std::min(start, end)), BytesBefore(wide, std::max(start, end))};
}

bool Main::CaretAtEnd() const {
    // With text selected there is no caret to show the suggestion after.
    DWORD start = 0, end = 0;
    SendMessageA(cmdBox_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start == end && static_cast<int>(end) == GetWindowTextLengthW(cmdBox_);
}

void Main::SetSuggestion(const std::string& tail) {
    if (tail == suggestion_) return;
    suggestion_ = tail;
    // The old suggestion's pixels go with the whole box's repaint.
    InvalidateRect(cmdBox_, nullptr, TRUE);
}

void Main::PaintSuggestion() {
    if (suggestion_.empty() || passwordChar_ != '\0' || !CaretAtEnd()) return;
    const std::wstring text = WideWindowText(cmdBox_);
    const int length = static_cast<int>(text.size());
    if (length == 0) return;
    // The box gives the place of a character, not of the end of its text:
    // the suggestion starts one character's width after the last one.
    const LRESULT last = SendMessageA(cmdBox_, EM_POSFROMCHAR, length - 1, 0);
    if (last == -1) return;
    WindowDc dc(cmdBox_);
    if (!dc.Get()) return;
    HGDIOBJ oldFont = SelectObject(dc.Get(), BoxFont(cmdBox_));
    SIZE lastChar{};
    GetTextExtentPoint32W(dc.Get(), &text.back(), 1, &lastChar);
    const int x = static_cast<short>(LOWORD(last)) + lastChar.cx;
    const int y = static_cast<short>(HIWORD(last));
    RECT client;
    GetClientRect(cmdBox_, &client);
    if (x < client.right) {
        // Drawn over the caret, it would be left behind when the caret
        // blinks off.
        HideCaret(cmdBox_);
        SetTextColor(dc.Get(), colours_.commandSuggest);
        SetBkColor(dc.Get(), colours_.commandBg);
        RECT clip{x, client.top, client.right, client.bottom};
        const std::wstring tail = Widen(suggestion_);
        ExtTextOutW(dc.Get(), x, y, ETO_CLIPPED | ETO_OPAQUE, &clip, tail.data(),
                    static_cast<UINT>(tail.size()), nullptr);
        ShowCaret(cmdBox_);
    }
    SelectObject(dc.Get(), oldFont);
}

void Main::FocusCommandBox() {
    // Only while the console is the active program: output arriving while
    // the user works elsewhere must not take the keyboard away.
    HWND active = GetActiveWindow();
    if (active && active != window_.Get()) SetActiveWindow(window_.Get());
    if (GetActiveWindow() == window_.Get()) SetFocus(cmdBox_);
}

void Main::SetCommandLocked(bool locked) {
    if (locked == locked_) return;
    SendMessageA(cmdBox_, EM_SETREADONLY, locked, 0);
    locked_ = locked;
}

void Main::SetPasswordChar(char c) {
    if (c == passwordChar_) return;
    SendMessageA(cmdBox_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
    InvalidateRect(cmdBox_, nullptr, TRUE);
    passwordChar_ = c;
}

std::string Main::PromptText() const {
    return promptText_;
}

void Main::SetPromptText(const std::string& text) {
    if (text == promptText_) return;
    FitFont(promptBox_, text);
    SetWindowTextA(promptBox_, text.c_str());
    promptText_ = text;
    layout_.reset();  // a new text is scrolled to its end by the next layout
}

void Main::SetBoxColours(const BoxColours& colours) {
    if (promptBrush_.Valid() && colours == colours_) return;
    if (!promptBrush_.Valid() || colours.promptBg != colours_.promptBg) {
        promptBrush_.Reset(CreateSolidBrush(colours.promptBg));
    }
    if (!commandBrush_.Valid() || colours.commandBg != colours_.commandBg) {
        commandBrush_.Reset(CreateSolidBrush(colours.commandBg));
    }
    colours_ = colours;
    RepaintNow(promptBox_);
    RepaintNow(cmdBox_);
}

bool Main::PaneHasText() const {
    return !pane_.Text().empty();
}

Rect Main::Bounds() const {
    RECT r;
    GetWindowRect(window_.Get(), &r);
    return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Main::Move(const Rect& b) {
    moving_ = true;
    SetWindowPos(window_.Get(), nullptr, b.left, b.top, b.width, b.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    moving_ = false;
}

void Main::LayOut(const BarLayout& layout) {
    if (layout_ == layout) return;
    layout_ = layout;
    const ScreenMetrics& m = metrics_;
    MoveWindow(promptBox_, m.promptMargin, m.controlTop, layout.promptWidth, m.cellHeight, TRUE);
    MoveWindow(cmdBox_, layout.commandLeft, m.controlTop, layout.commandWidth, m.cellHeight, TRUE);
    MoveWindow(enter_, layout.enterLeft, m.controlTop, m.enterWidth, m.cellHeight, TRUE);
    // A prompt that fits shows from its start: the caret at its end would
    // scroll its first character out of a box made just wide enough. A
    // long prompt is scrolled so that its end, next to the command box, is
    // in view.
    SendMessageA(promptBox_, EM_SETSEL, 0, 0);
    SendMessageA(promptBox_, EM_SCROLLCARET, 0, 0);
    if (PromptFits()) return;
    const int length = GetWindowTextLengthW(promptBox_);
    SendMessageA(promptBox_, EM_SETSEL, length, length);
    SendMessageA(promptBox_, EM_SCROLLCARET, 0, 0);
}

void Main::FitFont(HWND box, const std::string& text) {
    const HFONT font = fallback_.For(font_.Get(), Widen(text));
    if (BoxFont(box) != font) SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool Main::PromptFits() const {
    const std::wstring text = WideWindowText(promptBox_);
    WindowDc dc(promptBox_);
    if (!dc.Get()) return false;
    HGDIOBJ oldFont = SelectObject(dc.Get(), BoxFont(promptBox_));
    SIZE extent{};
    const bool measured =
        GetTextExtentPoint32W(dc.Get(), text.data(), static_cast<int>(text.size()), &extent);
    SelectObject(dc.Get(), oldFont);
    RECT client;
    GetClientRect(promptBox_, &client);
    return measured && extent.cx <= client.right;
}

void Main::SetTopmost(bool on) {
    if (topmost_ == on) return;
    topmost_ = on;
    SetWindowPos(window_.Get(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Size Main::ScreenSize() const {
    return Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<Monitor> Main::Monitors() const {
    return DesktopMonitors();
}

void Main::Show() {
    // Where the focus goes back to when the bar is dismissed: a window of
    // another program (the bar's own pane or boxes are no place to return to).
    const HWND front = GetForegroundWindow();
    DWORD process = 0;
    if (front && GetWindowThreadProcessId(front, &process) && process != GetCurrentProcessId()) {
        previousForeground_ = front;
    }
    ShowWindow(window_.Get(), SW_SHOW);
    // Painted now, not when the message loop next runs: at start what comes
    // after the show (the tray icon, Autoexec.dcb, the history) would keep
    // the first whole frame back.
    UpdateWindow(window_.Get());
    // The focus key is pressed while another program is in front, which
    // Windows' foreground lock protects.
    BringToForeground(window_.Get());
    SetFocus(cmdBox_);
}

void Main::Hide() {
    ShowWindow(window_.Get(), SW_HIDE);
}

bool Main::IsVisible() const {
    return IsWindowVisible(window_.Get()) != FALSE;
}

bool Main::IsForeground() const {
    return GetForegroundWindow() == window_.Get();
}

void Main::ReturnFocus() {
    const HWND back = previousForeground_;
    previousForeground_ = nullptr;
    if (back && IsWindow(back) && IsWindowVisible(back)) BringToForeground(back);
}

bool Main::SetSummonKey(const KeyChord& chord) {
    if (summonKeySet_) UnregisterHotKey(window_.Get(), kSummonHotkeyId);
    summonKeySet_ = false;
    if (chord.key == 0) return true;
    UINT modifiers = 0;
    if (chord.modifiers & kModShift) modifiers |= MOD_SHIFT;
    if (chord.modifiers & kModCtrl) modifiers |= MOD_CONTROL;
    if (chord.modifiers & kModAlt) modifiers |= MOD_ALT;
    if (chord.modifiers & kModWin) modifiers |= MOD_WIN;
    // Held down, a key repeats: one press summons once.
    summonKeySet_ = RegisterHotKey(window_.Get(), kSummonHotkeyId, modifiers | MOD_NOREPEAT,
                                   static_cast<UINT>(chord.key)) != FALSE;
    return summonKeySet_;
}

void Main::AppBarDock(DockState edge) {
    win32::AppBarDock(window_.Get(), edge);
}

void Main::AppBarUndock() {
    win32::AppBarUndock();
}

void Main::EndProcess() {
    ExitProcess(0);
}

}  // namespace vantrel::win32
