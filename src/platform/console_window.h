// The main window as the console logic sees it beyond the two text boxes:
// its place on the screen, the layout of its controls, its window order.
// The Win32 build backs this with the real bar; tests record the calls.
#pragma once

#include <vector>

#include "platform/geometry.h"
#include "platform/key_codes.h"
#include "platform/screen_metrics.h"

namespace vantrel {

// Where the bar sits: docked at the top or bottom screen edge, or floating
// at WinX, WinY with width WinWidth. Every start begins docked at the top.
enum class DockState { kTop, kBottom, kFloating };

// Where ApplySettings puts the bar's controls, in pixels from the bar's left
// edge. The prompt box's own left edge is fixed by the window.
struct BarLayout {
    int promptWidth = 0;
    int commandLeft = 0;
    int commandWidth = 0;
    // A negative left edge puts the Enter button out of sight.
    int enterLeft = 0;

    bool operator==(const BarLayout&) const = default;
};

class ConsoleWindow {
  public:
    virtual ~ConsoleWindow() = default;

    virtual Rect Bounds() const = 0;
    virtual void Move(const Rect& bounds) = 0;
    // Places the controls and scrolls the prompt box so that the end of a
    // long prompt stays in view.
    virtual void LayOut(const BarLayout& layout) = 0;
    virtual void SetTopmost(bool on) = 0;
    virtual Size ScreenSize() const = 0;
    // Every display of the desktop with its own scale, as the bar's
    // process sees them now: a display may come and go.
    virtual std::vector<Monitor> Monitors() const = 0;

    // Shows the window, activates it and puts the focus in the command box.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    // Whether the bar is the window in front, the one the keys go to.
    virtual bool IsForeground() const = 0;
    // Gives the focus back to the window of another program that was in
    // front when Show last brought the bar forward, if it is still there.
    virtual void ReturnFocus() = 0;
    // The summon key, a hotkey of the whole system: SummonKeyPressed comes
    // when it is pressed, wherever the focus is. A chord without a key
    // gives it back. False when the system refuses the chord: another
    // program holds it.
    virtual bool SetSummonKey(const KeyChord& chord) = 0;
    // The desktop application bar at the top or bottom screen edge, so that
    // other windows make room; nothing while already registered.
    // AppBarUndock gives the edge back; nothing while not registered.
    virtual void AppBarDock(DockState edge) = 0;
    virtual void AppBarUndock() = 0;
    // Ends the process at once: no further event runs.
    virtual void EndProcess() = 0;

    // While a command line runs the program is not in its message loop.
    // PumpWhileBusy lets the windows repaint and answer other programs,
    // hands the console the keys typed meanwhile (which may stop the line)
    // and holds back every other input; ResumeInput, once the line has
    // ended, lets what was held back through in the order it came.
    virtual void PumpWhileBusy() = 0;
    virtual void ResumeInput() = 0;
};

}  // namespace vantrel
