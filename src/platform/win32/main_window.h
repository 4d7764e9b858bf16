// Main: the console bar. A borderless, always-on-top window one text line
// high holding PromptBox, CmdBox, the Enter button (the default button) and
// the out-of-sight Esc button (the cancel button). It is the BarWindow and
// ConsoleWindow of the console logic, and hands its events on as
// ConsoleEvents.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/bar_window.h"
#include "platform/console_events.h"
#include "platform/console_window.h"
#include "platform/output_pane.h"
#include "platform/screen_metrics.h"
#include "platform/win32/font_fallback.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

class Main : public BarWindow, public ConsoleWindow {
  public:
    static constexpr UINT kTrayMessage = WM_APP + 1;
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr int kSummonHotkeyId = 1;
    static constexpr UINT kTimerMilliseconds = 25;

    Main(HINSTANCE instance, const OutputPane& pane);
    Main(const Main&) = delete;
    Main& operator=(const Main&) = delete;

    // Creates the window and its controls, hidden. Events go to console from
    // then on.
    bool Create(ConsoleEvents* console);
    void StartTimer();
    // Work that must go on whether a line runs or not, without a thread of
    // its own: called at every tick of the timer and every round of the
    // busy pump. It must not wait and must not start a line.
    void SetPoll(std::function<void()> poll) { poll_ = std::move(poll); }
    HWND Handle() const { return window_.Get(); }
    HICON Icon() const { return icon_; }

    // Called first for every message the loop takes: true for input held
    // back while a line ran and let through now. Its characters were made
    // when it was typed and must not be made again, and it keeps the
    // modifiers held then, which PreTranslate hands on.
    bool TakeReplayed(const MSG& msg);
    // Key messages on their way to the bar's controls go to the console
    // first, as a form with key preview sees them. True when the console
    // took the key.
    bool PreTranslate(const MSG& msg);

    // BarWindow.
    std::string CommandText() const override;
    void SetCommandText(const std::string& text) override;
    void SelectCommandText(int start, int length) override;
    int CommandCaret() const override;
    std::pair<int, int> CommandSelection() const override;
    void SetSuggestion(const std::string& tail) override;
    void FocusCommandBox() override;
    void SetCommandLocked(bool locked) override;
    void SetPasswordChar(char c) override;
    std::string PromptText() const override;
    void SetPromptText(const std::string& text) override;
    void SetBoxColours(const BoxColours& colours) override;
    bool PaneHasText() const override;

    // ConsoleWindow.
    Rect Bounds() const override;
    void Move(const Rect& bounds) override;
    void LayOut(const BarLayout& layout) override;
    void SetTopmost(bool on) override;
    Size ScreenSize() const override;
    std::vector<Monitor> Monitors() const override;
    void Show() override;
    void EndProcess() override;
    void Hide() override;
    bool IsVisible() const override;
    bool IsForeground() const override;
    void ReturnFocus() override;
    bool SetSummonKey(const KeyChord& chord) override;
    void AppBarDock(DockState edge) override;
    void AppBarUndock() override;
    void PumpWhileBusy() override;
    void ResumeInput() override;

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void OnCommand(int id);
    void OnTimer();
    LRESULT OnCtlColor(HDC dc, HWND control);
    void OnClose();
    void OnDpiChanged(int dpi, const RECT& suggested);
    // The controls' font and their heights for the bar's DPI.
    void ApplyScale(int dpi);
    void OnBoxMouseMove(WPARAM buttons);
    bool TakeKeyWhileBusy(const MSG& msg);
    // Shift, Ctrl and Alt as they were when the key was typed.
    int Modifiers() const;
    // The command box's own window procedure, with the suggestion drawn
    // after its text once it has painted.
    static LRESULT CALLBACK CmdBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
    bool CaretAtEnd() const;
    void PaintSuggestion();
    // Whether the prompt box shows its whole text.
    bool PromptFits() const;
    // Gives a box the font its text needs: the bar's, or a fallback face
    // for characters the bar's lacks.
    void FitFont(HWND box, const std::string& text);
    // Holds input back until the line has ended; a key keeps its modifiers.
    void Hold(const MSG& msg);
    // Makes a held key's characters now, while its modifiers and keyboard
    // layout still hold, and holds them beside it.
    void HoldCharacters(const MSG& keyDown);

    HINSTANCE instance_;
    const OutputPane& pane_;
    ConsoleEvents* console_ = nullptr;
    std::function<void()> poll_;
    // The command box's suggestion, read by its window procedure: declared
    // before the window so that it outlives the box's last messages.
    std::string suggestion_;
    UniqueWindow window_;
    HICON icon_ = nullptr;
    HWND promptBox_ = nullptr;
    HWND cmdBox_ = nullptr;
    HWND enter_ = nullptr;
    HWND esc_ = nullptr;
    UniqueFont font_;
    FontFallback fallback_;
    // The scale the controls are made for; the font is made afresh when the
    // bar reaches a monitor of another scale.
    ScreenMetrics metrics_;
    // Set while Move places the bar: the console chose the place and will
    // lay the bar out for its new scale itself.
    bool moving_ = false;
    BoxColours colours_;
    UniqueBrush promptBrush_;
    UniqueBrush commandBrush_;

    // What the controls show, as last set here: setting it again costs no
    // window call. The user's typing makes the command text unknown.
    std::optional<std::string> commandText_;
    std::string promptText_;
    bool locked_ = false;
    char passwordChar_ = '\0';
    std::optional<BarLayout> layout_;
    std::optional<bool> topmost_;
    // The window of another program that was in front when Show last
    // brought the bar forward.
    HWND previousForeground_ = nullptr;
    bool summonKeySet_ = false;
    // Inside the command box's own paste, which reports a cut itself.
    bool pasting_ = false;
    // The first half of a character typed as two UTF-16 units.
    wchar_t highSurrogate_ = 0;

    // Input and the quit request held back while a line runs, each input
    // message with the modifiers held as it was typed; then what was let
    // through, until the loop takes it again. Held input is known again by
    // the message itself, not by a mark in it: every bit of a key's flags
    // may be the system's (a character typed as a VK_PACKET carries its
    // code there).
    struct HeldInput {
        MSG msg;
        int modifiers;
        bool character;  // made by the key held before it
    };
    std::vector<HeldInput> heldInput_;
    std::deque<HeldInput> replaying_;
    std::optional<int> replayedModifiers_;
    // Whether the message let through now is a character its key made as
    // it was held, and whether the console took the last key that went
    // down: its characters go with it.
    bool replayedCharacter_ = false;
    bool heldKeyTaken_ = false;
    std::optional<int> heldQuit_;
};

}  // namespace vantrel::win32
