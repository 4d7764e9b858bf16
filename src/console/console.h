// The console's state and logic behind the main window: the interpreter and
// the session around it (ConsoleState, DockState, the account, the history,
// the remote link), start-up and shutdown, keys, the prompt line and the
// timer tick. The window system is reached only through the platform
// interfaces, so the Win32 bar and the tests drive the same code.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "console/apply_settings.h"
#include "console/command_history.h"
#include "console/completion_sources.h"
#include "console/history_file.h"
#include "console/history_search.h"
#include "console/placement.h"
#include "console/tab_cycle.h"
#include "console/update_prompt.h"
#include "interpreter/console_host.h"
#include "interpreter/interpreter.h"
#include "platform/console_events.h"
#include "platform/console_window.h"
#include "platform/output_pane.h"
#include "platform/platform.h"
#include "platform/socket.h"
#include "platform/tray_icon.h"
#include "remote/console_state.h"
#include "remote/remote_link.h"

namespace vantrel {

inline constexpr char kTrayTooltip[] = "Orvane Vantrel";

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
    ~Console() override;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Start-up: folders, first-run test, defaults, tray icon, placing and
    // showing the bar, Autoexec.dcb, the start-up argument, the welcome
    // text. Never stops on an error. Output shows at the first tick.
    void StartUp(const std::string& argument);
    // Shutdown: gives back what start-up took. The caller ends the process.
    void ShutDown();

    // The 25 ms timer.
    void Tick() override;
    // The window was asked to close (the user, another program, the end of
    // the session): the console ends, after stopping a line that runs.
    void CloseRequested() override;

    void ApplySettings();
    // The bar's monitor changed its scale, or the bar moved to a monitor of
    // another scale.
    void ScaleChanged() override;

    // The tray menu's "Save position" and "Edit Autoexec.dcb" items.
    void SavePos();
    void EditAutoexec();

    // Keys on their way to the bar, seen before its controls see them: Enter
    // and Esc press the two buttons, Up and Down browse the history, F1 to
    // F12 type their macros, F10 and Ctrl+F10 end a link, Tab and Shift+Tab
    // complete the word before the caret. modifiers holds
    // kModShift, kModCtrl and kModAlt. True when the key was taken here and
    // must not reach the control.
    bool KeyDown(int key, int modifiers) override;
    bool KeyUp(int key, int modifiers) override;
    // While the history is searched (Ctrl+R), typed characters go to the
    // search text.
    bool CharTyped(const std::string& character) override;
    // The suggestion follows the typed text.
    void CommandTextChanged() override;
    // The Enter and Esc buttons.
    void EnterClicked() override;
    void EscClicked() override;

    // A mouse message on the tray icon (513 to 518); a second one arriving
    // while the first is handled (its menu is up) is ignored.
    void TrayMouseMessage(int message) override;
    void TrayIcon_MouseDblClick(int button);
    void TrayIcon_MouseUp(int button);
    void TrayMenuChosen(TrayMenuItem item);
    // The notification area was created afresh (the shell restarted).
    void TaskbarCreated() override;

    // A mouse move over the prompt box or the command box: the two-button
    // drag of the floating bar.
    void MouseMove(int cursorX, int cursorY, const DragKeys& keys) override;

    // ConsoleHost.
    void LineStarted() override;
    void LineEnded() override;
    void KeepAlive() override;
    void UpdatePrompt() override;
    void ShowPendingOutput() override;
    // EXIT and the like: shutdown, then the process ends at once.
    void Exit() override;
    DockState Docking() const override { return dock_; }
    void Dock(DockState where) override;
    void DockOn(DockState where, Point monitorPoint) override;
    std::optional<Point> DockedMonitor() const override;
    void ShowWin() override;
    void HideWin() override;
    SiteAccount& Account() override { return account_; }
    void AskAccountPassword() override;
    void Listen(const std::string& port, const std::string& password) override;
    bool Connect(const std::string& address, const std::string& password) override;
    void Disconnect() override;

    Interpreter& In() { return interpreter_; }
    ConsoleState State() const { return state_; }
    const CommandHistory& History() const { return history_; }
    // Every line remembered, oldest first, each once: the lines of
    // History.txt read at start-up and those entered since.
    const HistoryLines& AllLines() const { return allLines_; }
    bool Searching() const { return search_.Active(); }

    // What is suggested after text: the rest of the newest remembered line
    // that begins with it, else what the one completion of its last word
    // adds; "" for nothing.
    std::string SuggestionFor(const std::string& text);
    const std::string& DataFolder() const { return dataFolder_; }
    bool FirstRun() const { return firstRun_; }

    // Gives the console its TCP socket: from then on the remote-console
    // commands and the socket's events work.
    void AttachSocket(Socket& socket);
    RemoteLink* Link() { return link_.get(); }

    // While a line runs the console repaints, shows progress and takes its
    // keys this often.
    static constexpr std::uint64_t kKeepAliveMs = 33;

  private:
    bool Serving() const { return state_ == kAwaitingLogin || state_ == kServing; }
    void ShowHistoryEntry(const std::string& text);
    // History.txt: read at start-up, and each entered line added.
    void LoadHistory();
    void RememberLine(const std::string& text);
    bool HistoryFileReady();
    // The suggestion after the command box's text, and taking it.
    void RefreshSuggestion();
    void ShowSuggestion(const std::string& tail);
    bool AcceptSuggestion(int key, int modifiers);
    // Ctrl+R and the keys while it searches.
    void StartSearch();
    bool SearchKey(int key, int modifiers);
    void ShowSearch();
    // Ends the search with text in the command box, the caret at its end.
    void EndSearch(const std::string& text);
    void ShowCommandText(const std::string& text);
    void CompleteWord(bool backwards);
    // What the one completion of the word before the end adds to text; ""
    // unless exactly one candidate fits and it only adds to what is typed.
    std::string SingleCompletionTail(const std::string& text);
    void DockOnMonitor(DockState where, const Monitor& monitor);
    void PumpOutput();
    // The prompt line for the state; at the end of a line the command box is
    // emptied as well, unless the state gives it a text of its own.
    void ApplyPrompt(bool lineEnded);

    Platform& platform_;
    ConsoleWindow& window_;
    OutputPane& pane_;
    TrayIcon& tray_;
    Interpreter interpreter_;
    // The session: what the command box is for, where the bar sits, the
    // account of the maker's site, the typed lines and the remote link.
    ConsoleState state_ = kLocal;
    DockState dock_ = DockState::kTop;
    SiteAccount account_;
    CommandHistory history_;
    HistoryLines allLines_;
    std::optional<HistoryFile> historyFile_;
    bool historyFolderMade_ = false;
    HistorySearch search_;
    // The key whose release must not browse: it ended the search.
    std::optional<int> searchEndKey_;
    std::string suggestion_;  // as shown
    CompletionSources completion_{interpreter_};
    TabCycle tabCycle_{platform_.bar};
    std::unique_ptr<RemoteLink> link_;
    // What the prompt line was last made from.
    PromptContext prompt_;
    std::string dataFolder_;
    bool firstRun_ = false;
    bool trayEventRaised_ = false;
    // What waits for the running line to end: the tray's clicks in the
    // order they came, as many as a user makes in a long line.
    static constexpr size_t kMostHeldTrayMessages = 32;
    std::deque<int> heldTrayMessages_;
    std::optional<int> heldKick_;  // the modifiers of F10 pressed meanwhile
    bool closeAfterLine_ = false;
    std::uint64_t lastKeepAlive_ = 0;
    int lastCursorX_ = 0;
    int lastCursorY_ = 0;
};

}  // namespace vantrel
