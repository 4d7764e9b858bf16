// Message and input boxes owned by the bar. A box runs its own modal loop
// inside the running line: the bar is disabled meanwhile, its timer and
// paint messages and the socket's events are still dispatched, and the keys
// typed go to the box, all but Ctrl+Break, which stops the line.
#pragma once

#include "platform/dialogs.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

class Win32Dialogs : public Dialogs {
  public:
    // The window that owns every box: the bar, so that a box stands above
    // it even while it is always on top. May stay null.
    void SetOwner(HWND owner) { owner_ = owner; }
    int MsgBox(const MsgBoxRequest& request) override;
    bool InputBox(const InputBoxRequest& request, std::string* answer) override;
    void CloseBox() override;

    // The input box's controls.
    static constexpr int kPromptId = 101;
    static constexpr int kEditId = 102;

  private:
    class BoxUp;
    static LRESULT CALLBACK StopKeyHook(int code, WPARAM key, LPARAM flags);
    bool OwnerTopmost() const;

    HWND owner_ = nullptr;
    int boxesUp_ = 0;
};

}  // namespace vantrel::win32
