// What the bar's window hands on: the window system's events, already
// translated into the console's terms. The console implements it; the
// window knows nothing more of the console than this.
#pragma once

#include <string>

namespace vantrel {

// Mouse buttons and modifier keys held during a mouse move.
struct DragKeys {
    bool left = false, right = false, middle = false;
    bool shift = false, ctrl = false, alt = false;
};

class ConsoleEvents {
  public:
    // The 25 ms timer.
    virtual void Tick() = 0;
    // The window was asked to close (the user, another program, the end of
    // the session's request): the console ends, after stopping a line.
    virtual void CloseRequested() = 0;
    // The session ends now: the process goes once this returns.
    virtual void Exit() = 0;
    // The bar's monitor changed its scale, or the bar moved to a monitor of
    // another scale.
    virtual void ScaleChanged() = 0;

    // Keys on their way to the bar's controls; modifiers holds kModShift,
    // kModCtrl and kModAlt. True when the console took the key and it must
    // not reach the control.
    virtual bool KeyDown(int key, int modifiers) = 0;
    virtual bool KeyUp(int key, int modifiers) = 0;
    // A character typed into the command box (its bytes in the process's
    // code page), before the box sees it. True when the console took it.
    virtual bool CharTyped(const std::string& character) = 0;
    // The command box's text changed, by the user or by the console.
    virtual void CommandTextChanged() = 0;
    // Typed or pasted text went past what the command box takes, and the
    // rest was left out.
    virtual void CommandTextCut() = 0;
    // The Enter and Esc buttons.
    virtual void EnterClicked() = 0;
    virtual void EscClicked() = 0;
    // A mouse move over the prompt box or the command box.
    virtual void MouseMove(int cursorX, int cursorY, const DragKeys& keys) = 0;

    // The summon key was pressed, wherever the focus was.
    virtual void SummonKeyPressed() = 0;
    // Another program took the focus from the bar and its own windows.
    virtual void FocusLeft() = 0;

    // A mouse message on the tray icon (513 to 518).
    virtual void TrayMouseMessage(int message) = 0;
    // The notification area was created afresh (the shell restarted).
    virtual void TaskbarCreated() = 0;

  protected:
    ~ConsoleEvents() = default;
};

}  // namespace vantrel
