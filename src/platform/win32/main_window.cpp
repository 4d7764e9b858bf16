#include "platform/win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "platform/key_codes.h"
#include "platform/win32/app_bar.h"
#include "platform/win32/fixed_font.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/window_tree.h"

namespace vantrel::win32 {

namespace {

constexpr char kClassName[] = "VantrelMain";
constexpr int kPromptBoxId = 101;
constexpr int kCmdBoxId = 102;
constexpr UINT_PTR kSuggestionSubclass = 1;
// The system's message for a new scale, spelled out for older headers.
constexpr UINT kDpiChangedMessage = 0x02E0;

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP ||
           message == WM_SYSKEYUP;
}

// The modifier keys held now.
int HeldModifiers() {
    return ((GetKeyState(VK_SHIFT) & 0x8000) ? kModShift : 0) |
           ((GetKeyState(VK_CONTROL) & 0x8000) ? kModCtrl : 0) |
           ((GetKeyState(VK_MENU) & 0x8000) ? kModAlt : 0);
}

bool SameMessage(const MSG& a, const MSG& b) {
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam &&
           a.lParam == b.lParam;
}

}  // namespace

Main::Main(HINSTANCE instance, const OutputPane& pane) : instance_(instance), pane_(pane) {}

bool Main::Create(ConsoleEvents* console) {
    console_ = console;
    icon_ = LoadIconA(instance_, MAKEINTRESOURCEA(1));
    if (!icon_) icon_ = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION

    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance_;
    wc.hIcon = icon_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    // A second bar in the same process (tests) finds the class registered.
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    // A tool window: the bar has no task-bar button of its own.
    HWND window =
        CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "Vantrel", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                        0, metrics_.barHeight, nullptr, nullptr, instance_, this);
    if (!window) return false;
    window_.Reset(window);
    CreateControls();
    return true;
}

void Main::CreateControls() {
    HWND window = window_.Get();
    // The boxes are Unicode windows: a character typed reaches them whole,
    // where an ANSI box is handed it in pieces of the code page, and their
    // positions (EM_GETSEL, EM_SETSEL) count UTF-16 units on every system.
    // Text still crosses as the process's code page through the A calls.
    auto control = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_,
                               nullptr);
    };
    promptBox_ = control(L"EDIT", L"Prompt>", ES_READONLY | ES_AUTOHSCROLL, kPromptBoxId);
    promptText_ = "Prompt>";
    cmdBox_ = control(L"EDIT", L"Command", ES_AUTOHSCROLL | WS_TABSTOP, kCmdBoxId);
    enter_ = control(L"BUTTON", L"Enter", BS_DEFPUSHBUTTON, IDOK);
    esc_ = control(L"BUTTON", L"Esc", BS_PUSHBUTTON, IDCANCEL);
    // No margins: the layout gives the prompt box exactly its text's width.
    for (HWND box : {promptBox_, cmdBox_}) {
        SendMessageA(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, 0));
    }
    SetWindowSubclass(cmdBox_, CmdBoxProc, kSuggestionSubclass, reinterpret_cast<DWORD_PTR>(this));
    SendMessageW(cmdBox_, EM_SETLIMITTEXT, kCommandBoxLimit, 0);
    ApplyScale(WindowDpi(window));
}

void Main::ApplyScale(int dpi) {
    metrics_ = MetricsForDpi(dpi);
    font_ = CreateFixedsysFont(metrics_);
    fallback_.SetCell(metrics_);
    for (HWND control : {promptBox_, cmdBox_, enter_, esc_}) {
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    }
    FitFont(promptBox_, promptText_);
    FitFont(cmdBox_, CommandText());
    const ScreenMetrics& m = metrics_;
    MoveWindow(promptBox_, m.promptMargin, m.controlTop, 0, m.cellHeight, FALSE);
    MoveWindow(cmdBox_, 0, m.controlTop, 0, m.cellHeight, FALSE);
    MoveWindow(enter_, m.outOfSight, m.controlTop, m.enterWidth, m.cellHeight, FALSE);
    MoveWindow(esc_, m.outOfSight, m.controlTop, m.enterWidth, m.cellHeight, FALSE);
    layout_.reset();  // the next layout places the controls at this scale
}

void Main::OnDpiChanged(int dpi, const RECT& suggested) {
    ApplyScale(dpi);
    if (moving_) return;
    // The user or the system moved the bar to a monitor of another scale,
    // or changed the scale: the system's rectangle keeps it where it was
    // meant to be, and the console then lays it out, docking again at the
    // new height.
    SetWindowPos(window_.Get(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    console_->ScaleChanged();
}

void Main::StartTimer() {
    SetTimer(window_.Get(), kTimerId, kTimerMilliseconds, nullptr);
}

int Main::Modifiers() const {
    // For a key held back while a line ran, those held as it was typed; the
    // keyboard's state at its replay is another key's.
    return replayedModifiers_ ? *replayedModifiers_ : HeldModifiers();
}

bool Main::TakeReplayed(const MSG& msg) {
    replayedModifiers_.reset();
    replayedCharacter_ = false;
    // Posted messages come before the keyboard's, in the order posted; one
    // taken by another loop (a box a script showed) leaves its place.
    const auto found = std::find_if(replaying_.begin(), replaying_.end(),
                                    [&](const HeldInput& h) { return SameMessage(h.msg, msg); });
    if (found == replaying_.end()) return false;
    replayedModifiers_ = found->modifiers;
    replayedCharacter_ = found->character;
    replaying_.erase(replaying_.begin(), std::next(found));
    return true;
}

bool Main::PreTranslate(const MSG& msg) {
    if (!window_.Valid() || GetAncestor(msg.hwnd, GA_ROOT) != window_.Get()) return false;
    const int key = static_cast<int>(msg.wParam);
    switch (msg.message) {
        case WM_KEYDOWN: {
            const bool taken = console_->KeyDown(key, Modifiers());
            heldKeyTaken_ = taken;
            return taken;
        }
        // F10 alone, and any key with Alt, is a system key. Of those only
        // the function keys reach the console (Alt+F4, which it leaves, still
        // closes the bar); Alt+letters stay the system's.
        case WM_SYSKEYDOWN: {
            const bool taken = key >= VK_F1 && key <= VK_F12 && console_->KeyDown(key, Modifiers());
            heldKeyTaken_ = taken;
            return taken;
        }
        case WM_CHAR: {
            // A key held back while a line ran had its characters made as it
            // was typed: when the console takes the key at its replay, they
            // go with it.
            if (replayedCharacter_ && heldKeyTaken_) return true;
            // Ctrl+Backspace's character on Windows: the word deletion is
            // the console's, and the box would show the character.
            if (msg.wParam == 0x7F) return true;
            // The message loop is Unicode: a character beyond the Basic
            // Multilingual Plane comes as two units.
            const auto unit = static_cast<wchar_t>(msg.wParam);
            if (unit >= 0xD800 && unit < 0xDC00) {
                highSurrogate_ = unit;
            } else {
                const wchar_t pair[2] = {highSurrogate_, unit};
                const bool paired = highSurrogate_ && unit >= 0xDC00 && unit < 0xE000;
                highSurrogate_ = 0;
                // While the history is searched the characters are the search's.
                if (console_->CharTyped(paired ? Narrow(pair, 2) : Narrow(&unit, 1))) return true;
            }
            // The edit control's own Enter and Esc characters would only
            // beep; Tab completes, and its character would be typed.
            return msg.wParam == '\r' || msg.wParam == 27 || msg.wParam == '\t';
        }
        // F10 alone, and any key with Alt, is a system key: its release comes
        // as WM_SYSKEYUP.
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return console_->KeyUp(key, Modifiers());
        case WM_MOUSEMOVE:
            // The drag is the same over both boxes; the move still reaches them.
            if (msg.hwnd == promptBox_ || msg.hwnd == cmdBox_) OnBoxMouseMove(msg.wParam);
            return false;
        default:
            return false;
    }
}

bool Main::TakeKeyWhileBusy(const MSG& msg) {
    const int key = static_cast<int>(msg.wParam);
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return console_->KeyDown(key, Modifiers());
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return console_->KeyUp(key, Modifiers());
        default:
            return false;
    }
}

void Main::Hold(const MSG& msg) {
    heldInput_.push_back({msg, IsKeyMessage(msg.message) ? Modifiers() : 0, replayedCharacter_});
}

void Main::HoldCharacters(const MSG& keyDown) {
    TranslateMessage(&keyDown);
    // The characters are posted at once, behind whatever waits already:
    // taken now, they stay beside their key, which a replay may take.
    constexpr int kMostCharacters = 8;
    MSG msg;
    for (auto [first, last] : {std::pair{WM_CHAR, WM_DEADCHAR}, {WM_SYSCHAR, WM_SYSDEADCHAR}}) {
        for (int i = 0;
             i < kMostCharacters && PeekMessageW(&msg, keyDown.hwnd, first, last, PM_REMOVE); ++i) {
            heldInput_.push_back({msg, 0, true});
        }
    }
}

// The line runs inside a handler of this thread's message loop, so nothing
// here may start another: keys go to the console, which takes only those
// that stop the line; the rest of the input is held back, and mouse moves
// stay queued. What is dispatched (paint, the socket's and the shell's
// posted messages, messages other programs send) either has no command
// behind it or reaches the console, which holds it until the line ends.
void Main::PumpWhileBusy() {
    // Enough for any burst; a window that keeps asking to be painted must
    // not keep the line from going on.
    constexpr int kMostMessages = 512;
    MSG msg;
    // A program the line started may open a window in front of the bar
    // (START gives a console program one) and take the keyboard with it.
    // The system makes a window clicked the foreground one as the button's
    // message is taken from the queue: so the buttons are taken and held,
    // and a click on the bar gives it back the keyboard, and Esc its line.
    for (int i = 0; i < kMostMessages &&
                    PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE);
         ++i) {
        TakeReplayed(msg);
        Hold(msg);
    }
    for (int i = 0;
         i < kMostMessages && PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE);
         ++i) {
        const bool replayed = TakeReplayed(msg);
        if (TakeKeyWhileBusy(msg)) continue;
        // The characters of a held key are made now, while its Shift and
        // its keyboard layout still hold. A key let through after an earlier
        // line that meets this one has its characters held beside it.
        const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        Hold(msg);
        if (keyDown && !replayed) HoldCharacters(msg);
    }
    replayedModifiers_.reset();
    replayedCharacter_ = false;
    for (int i = 0; i < kMostMessages &&
                    PeekMessageW(&msg, nullptr, 0, 0,
                                 PM_REMOVE | PM_QS_POSTMESSAGE | PM_QS_PAINT | PM_QS_SENDMESSAGE);
         ++i) {
        if (msg.message == WM_QUIT) {
            heldQuit_ = static_cast<int>(msg.wParam);
        } else if (msg.message != WM_TIMER) {
            // The timer comes again; while busy the console pumps its own
            // output.
            DispatchMessageW(&msg);
        }
    }
    if (poll_) poll_();
}

void Main::ResumeInput() {
    for (const HeldInput& held : heldInput_) {
        const MSG& msg = held.msg;
        if (PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam)) replaying_.push_back(held);
    }
    heldInput_.clear();
    if (heldQuit_) PostQuitMessage(*heldQuit_);
    heldQuit_.reset();
}

void Main::OnBoxMouseMove(WPARAM buttons) {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    DragKeys keys;
    keys.left = buttons & MK_LBUTTON;
    keys.right = buttons & MK_RBUTTON;
    keys.middle = buttons & MK_MBUTTON;
    keys.shift = buttons & MK_SHIFT;
    keys.ctrl = buttons & MK_CONTROL;
    keys.alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    console_->MouseMove(cursor.x, cursor.y, keys);
}

void Main::OnCommand(int id) {
    if (id == IDOK) {
        console_->EnterClicked();
    } else if (id == IDCANCEL) {
        console_->EscClicked();
    }
}

void Main::OnTimer() {
    if (poll_) poll_();
    console_->Tick();
}

LRESULT Main::OnCtlColor(HDC dc, HWND control) {
    if (control == promptBox_) {
        SetTextColor(dc, colours_.promptText);
        SetBkColor(dc, colours_.promptBg);
        return reinterpret_cast<LRESULT>(promptBrush_.Get());
    }
    SetTextColor(dc, colours_.commandText);
    SetBkColor(dc, colours_.commandBg);
    return reinterpret_cast<LRESULT>(commandBrush_.Get());
}

void Main::OnClose() {
    console_->CloseRequested();
}

LRESULT Main::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            // The user changed the command box: its text is no longer known.
            if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == kCmdBoxId) {
                commandText_.reset();
                FitFont(cmdBox_, WindowText(cmdBox_));
                // The box draws typed text at once, over where the suggestion was.
                if (!suggestion_.empty()) InvalidateRect(cmdBox_, nullptr, TRUE);
                console_->CommandTextChanged();
            }
            // A paste says so itself: not every edit control tells of one.
            if (HIWORD(wParam) == EN_MAXTEXT && LOWORD(wParam) == kCmdBoxId && !pasting_) {
                console_->CommandTextCut();
            }
            return 0;
        case WM_HOTKEY:
            if (wParam == kSummonHotkeyId) console_->SummonKeyPressed();
            return 0;
        case WM_ACTIVATEAPP:
            if (!wParam) console_->FocusLeft();
            break;
        case WM_TIMER:
            if (wParam == kTimerId) OnTimer();
            return 0;
        // A locked (read-only) box asks for the colours of a static control.
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (!promptBrush_.Valid()) break;
            return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_ENDSESSION:
            // The system ends the process once this returns: no waiting for
            // a running line. FALSE: the session goes on after all.
            if (wParam) console_->Exit();
            return 0;
        case kDpiChangedMessage:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case kTrayMessage:
            console_->TrayMouseMessage(static_cast<int>(lParam));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    // Explorer restarted: the notification area is new and empty.
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (message == taskbarCreated && taskbarCreated != 0) console_->TaskbarCreated();
    return DefWindowProcA(window_.Get(), message, wParam, lParam);
}

namespace {

// Whether pasting the clipboard's text into the box now leaves some of it
// out: the box keeps the rest of its text, and takes the pasted text up to
// its first line break.
bool PasteGoesPastLimit(HWND box) {
    if ((GetWindowLongW(box, GWL_STYLE) & ES_READONLY) ||
        !IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(box)) {
        return false;
    }
    size_t pasted = 0;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            const size_t most = GlobalSize(data) / sizeof(wchar_t);
            while (pasted < most && text[pasted] != L'\0' && text[pasted] != L'\r' &&
                   text[pasted] != L'\n') {
                ++pasted;
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const size_t kept = static_cast<size_t>(GetWindowTextLengthW(box)) - (end - start);
    return kept + pasted > static_cast<size_t>(BarWindow::kCommandBoxLimit);
}

}  // namespace

// The box paints its text and knows nothing of the suggestion: it is drawn
// after each paint, and the box is painted again whenever the caret comes
// to or leaves the end of the text (a click, Home, Left), which shows or
// hides it.
LRESULT CALLBACK Main::CmdBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
    auto* self = reinterpret_cast<Main*>(data);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, CmdBoxProc, kSuggestionSubclass);
    if (message == WM_PASTE) {
        const bool cut = PasteGoesPastLimit(box);
        self->pasting_ = true;
        const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
        self->pasting_ = false;
        if (cut) self->console_->CommandTextCut();
        return result;
    }
    const bool watchCaret =
        ((message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == EM_SETSEL) &&
        !self->suggestion_.empty();
    const bool atEnd = watchCaret && self->CaretAtEnd();
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    if (message == WM_PAINT) {
        self->PaintSuggestion();
    } else if (watchCaret && self->CaretAtEnd() != atEnd) {
        InvalidateRect(box, nullptr, TRUE);
    }
    return result;
}

LRESULT CALLBACK Main::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Main*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Until CreateWindowEx returns, the window handle is not stored yet.
    if (!self || !self->console_ || self->window_.Get() != hwnd) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

}  // namespace vantrel::win32
