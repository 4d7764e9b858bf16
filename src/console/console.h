// The console: the session around the interpreter (ConsoleState, the
// account of the maker's site, the remote link), start-up and shutdown, the
// timer tick and the output pump, the busy state while a line runs, and
// the keys and buttons of the bar, which it hands to the line editor while
// no line runs. The bar's placement and the tray icon are parts of their
// own. The window system is reached only through the platform interfaces,
// so the Win32 bar and the tests drive the same code.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "console/bar_placement.h"
#include "console/handed_over.h"
#include "console/keyboard.h"
#include "console/tray_control.h"
#include "console/update_prompt.h"
#include "interpreter/console_host.h"
#include "interpreter/console_state.h"
#include "interpreter/interpreter.h"
#include "line_editor/line_editor.h"
#include "platform/console_events.h"
#include "platform/console_window.h"
#include "platform/output_pane.h"
#include "platform/platform.h"
#include "platform/socket.h"
#include "platform/tray_icon.h"
#include "remote/remote_link.h"

namespace vantrel {

// The text a first run prints once start-up is done.
inline constexpr const char* kWelcomeLines[] = {
    "You are seeing this message because this is the first time you have launched VTRL.",
    "",
    "Most basic file management commands, such as CD and COPY, work similarly to the MS-DOS "
    "equivalents.",
    "Enter HELP to view VTRL's documentation.  We recommend reading the \"Getting started\" "
    "section.",
    "",
    "If you like VTRL, please donate to Orvane.  Enter DONATE to go to our donation page.",
};

class Console : public ConsoleHost, public ConsoleEvents {
  public:
    // commands is the command language the console's interpreter runs.
    Console(Platform& platform, ConsoleWindow& window, OutputPane& pane, TrayIcon& tray,
            const CommandTable& commands);
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Start-up: folders, first-run test, defaults, tray icon, placing and
    // showing the bar, Autoexec.dcb, the history, the start-up argument,
    // the welcome text. Never stops on an error. Output shows at the first
    // tick.
    void StartUp(const std::string& argument);
    // Shutdown: gives back what start-up took. The caller ends the process.
    void ShutDown();
    // Gives the console its TCP socket: from then on the remote-console
    // commands and the socket's events work.
    void AttachSocket(Socket& socket);
    // The argument of a second start of the program: the bar comes forward
    // with its command box focused, and a line (run as if typed) or a path
    // from Explorer ("/open PATH") waits its turn. False when it was
    // refused: the queue is full, or the text is not one line of at most
    // kMaxHandOverBytes. Safe to call while a line runs.
    bool HandOver(const std::string& argument);

    // ConsoleEvents. Keys and the two buttons: while a line runs only what
    // stops it is taken (Esc, Ctrl+Break; F10 and Ctrl+F10 while serving a
    // client); otherwise the line editor has them first, then Enter and Esc
    // press the buttons, F1 to F12 type their macros and F10 and Ctrl+F10
    // end a link, all as the key goes down, read with the modifiers held
    // then. modifiers holds kModShift, kModCtrl and kModAlt; true when the
    // key was taken and must not reach the control.
    void Tick() override;
    void CloseRequested() override;
    void ScaleChanged() override { placement_.ScaleChanged(); }
    bool KeyDown(int key, int modifiers) override;
    bool KeyUp(int key, int modifiers) override;
    bool CharTyped(const std::string& character) override { return editor_.CharTyped(character); }
    void CommandTextChanged() override { editor_.TextChanged(); }
    void CommandTextCut() override;
    void EnterClicked() override;
    void EscClicked() override;
    void MouseMove(int cursorX, int cursorY, const DragKeys& keys) override {
        placement_.MouseMove(cursorX, cursorY, keys);
    }
    void SummonKeyPressed() override;
    void FocusLeft() override;
    void TrayMouseMessage(int message) override { tray_.MouseMessage(message); }
    void TaskbarCreated() override { tray_.Add(); }

    // ConsoleHost.
    void LineStarted() override;
    void LineEnded() override;
    void KeepAlive() override;
    void UpdatePrompt() override;
    void ShowPendingOutput() override;
    // EXIT and the like: shutdown, then the process ends at once.
    void Exit() override;
    BarPlacement& Placement() override { return placement_; }
    SiteAccount& Account() override { return account_; }
    void AskAccountPassword() override;
    RemoteConsole* Remote() override { return link_.get(); }
    bool Private() const override { return prompt_.privateMode; }
    void SetPrivate(bool on) override {
        prompt_.privateMode = on;
        UpdatePrompt();
    }

    Interpreter& In() { return interpreter_; }
    ConsoleState State() const { return state_; }
    LineEditor& Editor() { return editor_; }

    // While a line runs the console repaints, shows progress and takes its
    // keys this often.
    static constexpr std::uint64_t kKeepAliveMs = 33;

  private:
    // From the timer: the next handed-over line or path, when no line runs
    // and the box takes one; the half-typed text put back after it.
    void RunHandedOver();
    // False while half-typed text still waits to be put back.
    bool SettleHalfTyped();
    // At every tick and while a line runs: a press of the focus hotkey
    // brings the bar forward, or on the bar in front gives the focus back.
    void PollFocusKey();
    // At every tick: SummonKey registered afresh once its text changed.
    void ApplySummonKey();

    Platform& platform_;
    ConsoleWindow& window_;
    OutputPane& pane_;
    Interpreter interpreter_;
    // The session: what the command box is for, the account of the maker's
    // site and the remote link.
    ConsoleState state_ = kLocal;
    SiteAccount account_;
    std::unique_ptr<RemoteLink> link_;
    BarPlacement placement_{interpreter_, window_, state_};
    TrayControl tray_;
    LineEditor editor_{interpreter_, platform_.bar, state_};
    // What the prompt line was last made from.
    PromptContext prompt_;
    std::optional<int> heldKick_;  // the modifiers of F10 pressed meanwhile
    bool closeAfterLine_ = false;
    HandedOverQueue handedOver_;
    std::optional<HalfTyped> halfTyped_;
    std::uint64_t lastKeepAlive_ = 0;
    FocusHotkey focusKey_;
    // SummonKey's text as last registered; nullopt before the first tick.
    std::optional<std::string> summonKeyText_;
    // Shown by the summon key: AutoHide hides it when the focus leaves.
    bool summoned_ = false;
};

}  // namespace vantrel
