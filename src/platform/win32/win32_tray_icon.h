#pragma once

#include "platform/tray_icon.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// The notification-area icon; its mouse actions arrive at the owner window
// as callbackMessage with the mouse message in lParam.
class Win32TrayIcon : public TrayIcon {
  public:
    Win32TrayIcon() = default;
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;
    ~Win32TrayIcon() override { Remove(); }

    void SetOwner(HWND owner, HICON icon, UINT callbackMessage);
    bool Add(const std::string& tooltip) override;
    void Remove() override;
    // The tray menu, built afresh for each pop-up and owned by the owner
    // window, which must be in the foreground for the menu to close when
    // the user clicks elsewhere.
    TrayMenuItem PopUpMenu(const TrayMenuChecks& checks) override;

  private:
    NOTIFYICONDATAW data_{};
    bool added_ = false;
};

}  // namespace vantrel::win32
