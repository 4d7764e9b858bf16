// The dialogs a script asks the user with: a message box and a one-line
// input box. Both are modal: the call returns once the user has answered.
// The Win32 build shows them owned by the bar, above it; tests answer from
// memory and record what was asked.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vantrel {

struct MsgBoxRequest {
    std::string prompt;
    std::string title;
    // The buttons, icon, default button, modality and the other MsgBox
    // options, as the script language numbers them: the window system's
    // message-box flags have the same values.
    int style = 0;
};

struct InputBoxRequest {
    std::string prompt;
    std::string title;
    std::string defaultText;
    // The box's top-left corner in twips from the screen's top-left, which
    // the box turns into pixels at its screen's scale; left out, the box is
    // centred across the screen, or a third of the way down.
    std::optional<int> left;
    std::optional<int> top;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Shows a message box and waits for a button: returns the button's
    // number, 1 (OK) to 7 (No), or 0 when no box could be shown.
    virtual int MsgBox(const MsgBoxRequest& request) = 0;
    // Shows an input box holding the default text, selected, and waits:
    // true with the text in *answer on OK; false on Cancel, Esc, closing
    // the box, or when no box could be shown (*answer is then untouched).
    virtual bool InputBox(const InputBoxRequest& request, std::string* answer) = 0;

    // Ends the box that is up as its Cancel button would, from inside the
    // box's own modal loop: the line behind it is being stopped. Nothing
    // when no box is up.
    virtual void CloseBox() = 0;

    // Ctrl+Break pressed while a box is up stops the line behind the box,
    // as it does in the bar: the box hands it to onStopKey, which is
    // expected to close the box with CloseBox.
    void SetStopKeyHandler(std::function<void()> onStopKey) { onStopKey_ = std::move(onStopKey); }

  protected:
    void StopKeyPressed() {
        if (onStopKey_) onStopKey_();
    }

  private:
    std::function<void()> onStopKey_;
};

}  // namespace vantrel
