#include "platform/win32/win32_tray_icon.h"

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace vantrel::win32 {

namespace {

constexpr char kVisible[] = "&Visible";
constexpr char kDocking[] = "&Docking";
constexpr char kDockTop[] = "Dock to &top";
constexpr char kDockBottom[] = "Dock to &bottom";
constexpr char kUndock[] = "&Undock";
constexpr char kSavePosition[] = "&Save position";
constexpr char kEditAutoexec[] = "Edit &Autoexec.dcb";
constexpr char kExit[] = "E&xit";

UINT Checked(bool on) {
    return MF_STRING | (on ? MF_CHECKED : MF_UNCHECKED);
}

UINT_PTR Id(TrayMenuItem item) {
    return static_cast<UINT_PTR>(item);
}

}  // namespace

void Win32TrayIcon::SetOwner(HWND owner, HICON icon, UINT callbackMessage) {
    // The first form of the record: all this icon needs, and understood by
    // every shell.
    data_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
}

bool Win32TrayIcon::Add(const std::string& tooltip) {
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // The tip field holds 63 UTF-16 units and its terminator in this form;
    // a character of two units is not cut in half.
    const std::wstring tip = Widen(tooltip);
    size_t length = std::min<size_t>(tip.size(), 63);
    if (length > 0 && length < tip.size() && tip[length - 1] >= 0xD800 &&
        tip[length - 1] < 0xDC00) {
        --length;
    }
    std::copy_n(tip.data(), length, data_.szTip);
    data_.szTip[length] = L'\0';
    added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    return added_;
}

void Win32TrayIcon::Remove() {
    if (!added_) return;
    Shell_NotifyIconW(NIM_DELETE, &data_);
    added_ = false;
}

TrayMenuItem Win32TrayIcon::PopUpMenu(const TrayMenuChecks& checks) {
    HMENU docking = CreatePopupMenu();
    AppendMenuA(docking, Checked(checks.dock == DockState::kTop), Id(TrayMenuItem::kDockTop),
                kDockTop);
    AppendMenuA(docking, Checked(checks.dock == DockState::kBottom), Id(TrayMenuItem::kDockBottom),
                kDockBottom);
    AppendMenuA(docking, Checked(checks.dock == DockState::kFloating), Id(TrayMenuItem::kUndock),
                kUndock);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, Checked(checks.visible), Id(TrayMenuItem::kShowHide), kVisible);
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(docking), kDocking);
    AppendMenuA(menu, MF_STRING, Id(TrayMenuItem::kSavePos), kSavePosition);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, Id(TrayMenuItem::kAutoexec), kEditAutoexec);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, Id(TrayMenuItem::kExit), kExit);

    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(data_.hWnd);
    int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0,
                                data_.hWnd, nullptr);
    // The documented nudge that lets the next pop-up close properly.
    PostMessageA(data_.hWnd, WM_NULL, 0, 0);
    DestroyMenu(menu);  // and its sub-menu with it
    if (chosen < static_cast<int>(TrayMenuItem::kShowHide) ||
        chosen > static_cast<int>(TrayMenuItem::kExit)) {
        return TrayMenuItem::kNone;
    }
    return static_cast<TrayMenuItem>(chosen);
}

}  // namespace vantrel::win32
