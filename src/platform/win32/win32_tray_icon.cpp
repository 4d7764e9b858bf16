#include "platform/win32/win32_tray_icon.h"

#include <cstring>

namespace vantrel::win32 {

void Win32TrayIcon::SetOwner(HWND owner, HICON icon, UINT callbackMessage) {
    // The first form of the record: all this icon needs, and understood by
    // every shell.
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
}

bool Win32TrayIcon::Add(const std::string& tooltip) {
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // The tip field holds 63 characters and its terminator in this form.
    std::strncpy(data_.szTip, tooltip.c_str(), 63);
    data_.szTip[63] = '\0';
    added_ = Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
    return added_;
}

void Win32TrayIcon::Remove() {
    if (!added_) return;
    Shell_NotifyIconA(NIM_DELETE, &data_);
    added_ = false;
}

}  // namespace vantrel::win32
