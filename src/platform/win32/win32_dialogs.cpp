#include "platform/win32/win32_dialogs.h"

#include <algorithm>
#include <utility>

#include "platform/screen_metrics.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/window_tree.h"

namespace vantrel::win32 {

namespace {

// The input box in dialog units: the prompt at the top left, OK and Cancel
// beside it, the edit box across the bottom.
constexpr short kBoxWidth = 250;
constexpr short kBoxHeight = 86;
constexpr short kMargin = 7;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kPromptWidth = kBoxWidth - 3 * kMargin - kButtonWidth;
constexpr short kEditTop = 66;
constexpr short kEditHeight = 13;

// The class of every dialog box, the system's message boxes among them.
constexpr char kDialogClass[] = "#32770";
// Bit 31 of a key's flags: set as the key is released.
constexpr LPARAM kKeyReleased = LPARAM{1} << 31;

using UniqueHook = Unique<HHOOK, ClosedBy<HHOOK, nullptr, UnhookWindowsHookEx>>;

// The dialogs whose box is up on this thread: a keyboard hook has no other
// way to its object.
thread_local Win32Dialogs* watching = nullptr;

struct InputBoxState {
    const InputBoxRequest& request;
    bool topmost;
    // Set by OK alone: a box ended otherwise (the program quitting) gives
    // nothing, whatever DialogBox returns then.
    bool accepted = false;
    std::string answer;
};

// Moves a child window by dy pixels and makes it dh pixels taller.
void Shift(HWND dialog, HWND child, int dy, int dh) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(child, r.left, r.top + dy, r.right - r.left, r.bottom - r.top + dh, FALSE);
}

// A window's display context with the window's own font chosen into it,
// both given back on leaving.
class FontDc {
  public:
    explicit FontDc(HWND window)
        : window_(window),
          dc_(GetDC(window)),
          old_(SelectObject(dc_,
                            reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)))) {}
    ~FontDc() {
        SelectObject(dc_, old_);
        ReleaseDC(window_, dc_);
    }
    FontDc(const FontDc&) = delete;
    FontDc& operator=(const FontDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_;
};

// The height the text takes in the label's font, wrapped as the label
// wraps it at the given width.
int WrappedHeight(HWND label, const std::string& text, int width) {
    FontDc dc(label);
    RECT needed{0, 0, width, 0};
    const std::wstring wide = Widen(text);
    DrawTextW(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_EXPANDTABS);
    return needed.bottom;
}

// A prompt longer than its place makes the box taller, as far as the
// screen allows; the edit box moves down with it.
void FitPrompt(HWND dialog, const std::string& prompt) {
    HWND label = GetDlgItem(dialog, Win32Dialogs::kPromptId);
    RECT place;
    GetClientRect(label, &place);
    RECT box;
    GetWindowRect(dialog, &box);
    const int room = GetSystemMetrics(SM_CYSCREEN) - (box.bottom - box.top);
    const int grow =
        std::min(WrappedHeight(label, prompt, place.right) - static_cast<int>(place.bottom), room);
    if (grow <= 0) return;
    Shift(dialog, label, 0, grow);
    Shift(dialog, GetDlgItem(dialog, Win32Dialogs::kEditId), grow, 0);
    SetWindowPos(dialog, nullptr, 0, 0, box.right - box.left, box.bottom - box.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where the script asked, or centred across and a third of the way down;
// always whole on the screen, where the user can answer it.
void Place(HWND dialog, const InputBoxState& state) {
    RECT box;
    GetWindowRect(dialog, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int dpi = WindowDpi(dialog);
    int left =
        state.request.left ? ScaleTwips(*state.request.left, dpi) : (screenWidth - width) / 2;
    int top = state.request.top ? ScaleTwips(*state.request.top, dpi) : (screenHeight - height) / 3;
    left = std::clamp(left, 0, std::max(0, screenWidth - width));
    top = std::clamp(top, 0, std::max(0, screenHeight - height));
    SetWindowPos(dialog, state.topmost ? HWND_TOPMOST : nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | (state.topmost ? 0 : SWP_NOZORDER));
}

INT_PTR OnInitDialog(HWND dialog, InputBoxState& state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    SetWindowTextA(dialog, state.request.title.c_str());
    SetDlgItemTextA(dialog, Win32Dialogs::kPromptId, state.request.prompt.c_str());
    HWND edit = GetDlgItem(dialog, Win32Dialogs::kEditId);
    SetWindowTextA(edit, state.request.defaultText.c_str());
    FitPrompt(dialog, state.request.prompt);
    Place(dialog, state);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return FALSE;  // the focus is set
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog(dialog, *reinterpret_cast<InputBoxState*>(lParam));
    }
    if (message != WM_COMMAND) return FALSE;
    // Enter, OK, Esc, Cancel and the close box all come here as the two
    // buttons' commands.
    const int id = LOWORD(wParam);
    if (id == IDOK) {
        auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(dialog, DWLP_USER));
        state->answer = WindowText(GetDlgItem(dialog, Win32Dialogs::kEditId));
        state->accepted = true;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

DialogTemplate InputBoxTemplate() {
    DialogTemplate t(DS_MODALFRAME | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     kBoxWidth, kBoxHeight);
    const short buttonLeft = kBoxWidth - kMargin - kButtonWidth;
    t.Add({ControlClass::kStatic, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, kMargin, kMargin,
           kPromptWidth, kEditTop - 2 * kMargin, Win32Dialogs::kPromptId, L""});
    t.Add({ControlClass::kEdit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kMargin, kEditTop,
           kBoxWidth - 2 * kMargin, kEditHeight, Win32Dialogs::kEditId, L""});
    t.Add({ControlClass::kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, buttonLeft, kMargin, kButtonWidth,
           kButtonHeight, IDOK, L"OK"});
    t.Add({ControlClass::kButton, BS_PUSHBUTTON | WS_TABSTOP, buttonLeft,
           kMargin + kButtonHeight + 4, kButtonWidth, kButtonHeight, IDCANCEL, L"Cancel"});
    return t;
}

}  // namespace

// While a box is up, a keyboard hook of this thread sees Ctrl+Break before
// the box's own loop would take it for Cancel: the box would close and the
// script behind it run on.
class Win32Dialogs::BoxUp {
  public:
    explicit BoxUp(Win32Dialogs* dialogs)
        : dialogs_(dialogs),
          previous_(std::exchange(watching, dialogs)),
          hook_(SetWindowsHookExA(WH_KEYBOARD, StopKeyHook, nullptr, GetCurrentThreadId())) {
        ++dialogs_->boxesUp_;
    }
    ~BoxUp() {
        --dialogs_->boxesUp_;
        hook_.Reset();
        watching = previous_;
    }
    BoxUp(const BoxUp&) = delete;
    BoxUp& operator=(const BoxUp&) = delete;

  private:
    Win32Dialogs* dialogs_;
    Win32Dialogs* previous_;
    UniqueHook hook_;
};

LRESULT CALLBACK Win32Dialogs::StopKeyHook(int code, WPARAM key, LPARAM flags) {
    if (code == HC_ACTION && key == VK_CANCEL && !(flags & kKeyReleased) && watching) {
        Win32Dialogs* dialogs = watching;
        dialogs->StopKeyPressed();
        // Closed already when a line stopped; closed all the same when none
        // ran, as the key would have closed it.
        dialogs->CloseBox();
        return 1;  // the box never sees the key
    }
    return CallNextHookEx(nullptr, code, key, flags);
}

// The box is this thread's enabled dialog window: a box disables its owner.
// EndDialog works on the system's message box as on our input box, and
// takes effect once the box's loop looks again, after the message being
// handled now.
void Win32Dialogs::CloseBox() {
    if (boxesUp_ == 0) return;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (ClassName(window) != kDialogClass || !IsWindowEnabled(window)) return TRUE;
            EndDialog(window, IDCANCEL);
            return FALSE;
        },
        0);
}

bool Win32Dialogs::OwnerTopmost() const {
    return owner_ && (GetWindowLongA(owner_, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

int Win32Dialogs::MsgBox(const MsgBoxRequest& request) {
    // An owned box is above its owner, but the bar is always on top: the
    // box must be too, or a bar over it could hide its buttons.
    const UINT style = static_cast<UINT>(request.style) | (OwnerTopmost() ? MB_TOPMOST : 0);
    BoxUp up(this);
    return MessageBoxA(owner_, request.prompt.c_str(), request.title.c_str(), style);
}

bool Win32Dialogs::InputBox(const InputBoxRequest& request, std::string* answer) {
    InputBoxState state{request, OwnerTopmost(), false, {}};
    const DialogTemplate box = InputBoxTemplate();
    BoxUp up(this);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.Get(), owner_, InputBoxProc,
                            reinterpret_cast<LPARAM>(&state));
    if (!state.accepted) return false;
    *answer = std::move(state.answer);
    return true;
}

}  // namespace vantrel::win32
