// The console's state and logic behind the main window: the interpreter,
// its DockState, start-up and shutdown, the prompt line and the timer tick. The
// window system is reached only through the platform interfaces, so the
// Win32 bar and the tests drive the same code.
#pragma once

#include <memory>
#include <string>

#include "console/apply_settings.h"
#include "console/placement.h"
#include "console/update_prompt.h"
#include "interpreter/interpreter.h"
#include "platform/console_window.h"
#include "platform/output_pane.h"
#include "platform/platform.h"
#include "platform/socket.h"
#include "platform/tray_icon.h"

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

class Console {
  public:
    Console(Platform& platform, ConsoleWindow& window, OutputPane& pane, TrayIcon& tray);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Start-up: folders, first-run test, defaults, tray icon, placing and
    // showing the bar, Autoexec.dcb, the start-up argument, the welcome
    // text. Never stops on an error. Output shows at the first tick.
    void StartUp(const std::string& argument);
    // Shutdown: gives back what start-up took. The caller ends the process.
    void ShutDown();
    // EXIT and the like: shutdown, then the process ends at once.
    void Exit();

    // The 25 ms timer.
    void Tick();

    void UpdatePrompt();
    void ApplySettings();

    // The tray menu's "Save position" and "Edit Autoexec.dcb" items.
    void SavePos();
    void EditAutoexec();

    // Placement: showing docks at the DockState's edge, hiding gives the
    // edge back, Dock changes the DockState (and moves only a visible bar).
    void ShowWin();
    void HideWin();
    void Dock(int where);

    // A mouse message on the tray icon (513 to 518); a second one arriving
    // while the first is handled (its menu is up) is ignored.
    void TrayMouseMessage(int message);
    void TrayIcon_MouseDblClick(int button);
    void TrayIcon_MouseUp(int button);
    void TrayMenuChosen(TrayMenuItem item);
    // The notification area was created afresh (the shell restarted).
    void TaskbarCreated();

    // A key released in the bar: F1 to F12 type their macros.
    void KeyUp(int key, int modifiers);
    // A mouse move over the prompt box or the command box: the two-button
    // drag of the floating bar.
    void MouseMove(int cursorX, int cursorY, const DragKeys& keys);

    Interpreter& In() { return interpreter_; }
    const std::string& DataFolder() const { return dataFolder_; }
    bool FirstRun() const { return firstRun_; }

    // Gives the console its TCP socket: from then on the remote-console
    // commands and the socket's events work.
    void AttachSocket(Socket& socket);
    RemoteLink* Link() { return link_.get(); }

    // The remote link and account fields the prompt line shows.
    PromptContext prompt;

  private:
    Platform& platform_;
    ConsoleWindow& window_;
    OutputPane& pane_;
    TrayIcon& tray_;
    Interpreter interpreter_;
    std::string dataFolder_;
    bool firstRun_ = false;
    bool trayEventRaised_ = false;
    int lastCursorX_ = 0;
    int lastCursorY_ = 0;
    std::unique_ptr<RemoteLink> link_;
};

}  // namespace vantrel
