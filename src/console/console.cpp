#include "console/console.h"

#include "console/keyboard.h"
#include "console/output_pump.h"
#include "console/tray_events.h"
#include "interpreter/launch.h"
#include "remote/remote_link.h"
#include "startup/autoexec.h"
#include "startup/defaults.h"

namespace vantrel {

namespace {

// Shipped beside the program; copied into the shortcut folder on a first run.
constexpr char kSampleShortcuts[] = "\\Sample Shortcuts\\*.*";

}  // namespace

Console::Console(Platform& platform, ConsoleWindow& window, OutputPane& pane, TrayIcon& tray)
    : platform_(platform), window_(window), pane_(pane), tray_(tray), interpreter_(platform) {
    interpreter_.updatePrompt = [this] { UpdatePrompt(); };
    interpreter_.exitConsole = [this] { Exit(); };
    interpreter_.dock = [this](int where) { Dock(where); };
    interpreter_.showWin = [this] { ShowWin(); };
    interpreter_.hideWin = [this] { HideWin(); };
    interpreter_.storeAccountPassword = [this](const std::string& p) {
        interpreter_.accountPass = p;
    };
}

Console::~Console() {
    interpreter_.remoteLink = nullptr;
}

void Console::AttachSocket(Socket& socket) {
    link_ = std::make_unique<RemoteLink>(interpreter_, socket, prompt);
    interpreter_.remoteLink = link_.get();
}

void Console::StartUp(const std::string& argument) {
    FileSystem& files = platform_.files;
    const std::string allUsers = AllUsersFolder(interpreter_);
    const std::string orvane = allUsers + "\\Orvane";
    dataFolder_ = orvane + "\\Vantrel";
    const std::string shortcuts = dataFolder_ + "\\Shortcuts";

    // Making a folder that exists fails; a first run is one where both of
    // the console's own folders were new.
    std::string err;
    files.MakeFolder(orvane, &err);
    bool newData = files.MakeFolder(dataFolder_, &err);
    bool newShortcuts = files.MakeFolder(shortcuts, &err);
    firstRun_ = newData && newShortcuts && argument.empty();
    const std::string autoexec = shortcuts + "\\Autoexec.dcb";
    files.AppendFile(autoexec, "", &err);

    AssignDefaults(interpreter_, window_.ScreenSize().width);
    interpreter_.dockState = kDockedTop;

    tray_.Add(kTrayTooltip);
    window_.Move(Rect{0, 0, window_.ScreenSize().width, kBarHeightPixels});
    platform_.bar.SetCommandText("");
    UpdatePrompt();
    ShowWin();

    RunBatch(interpreter_, autoexec, "");
    if (interpreter_.exitRequested) return;
    if (!argument.empty()) interpreter_.RunCommand(argument);
    if (interpreter_.exitRequested) return;
    if (firstRun_) {
        // The samples are a courtesy: a missing sample folder is no error.
        files.CopyFile(files.ProgramFolder() + kSampleShortcuts, shortcuts, &err);
        for (const char* line : kWelcomeLines) interpreter_.PrintOut(line);
    }
}

void Console::SavePos() {
    std::string err;
    vantrel::SavePos(interpreter_, &err);
}

void Console::EditAutoexec() { vantrel::EditAutoexec(interpreter_); }

void Console::ShowWin() {
    int dockState = interpreter_.dockState;
    if (dockState == kDockedTop) window_.AppBarDock(kAppBarTop);
    if (dockState == kDockedBottom) window_.AppBarDock(kAppBarBottom);
    window_.Show();
}

void Console::HideWin() {
    window_.Hide();
    if (interpreter_.dockState != kFloating) window_.AppBarUndock();
}

void Console::Dock(int where) {
    if (window_.IsVisible()) {
        if (interpreter_.dockState != kFloating) window_.AppBarUndock();
        if (where != kFloating) {
            window_.Move(DockedBounds(window_.ScreenSize(), where));
            window_.AppBarDock(where == kDockedTop ? kAppBarTop : kAppBarBottom);
        }
    }
    interpreter_.dockState = where;
    ApplySettings();
}

void Console::TrayMouseMessage(int message) {
    if (trayEventRaised_) return;
    TrayMouse mouse = TrayEventFor(message);
    trayEventRaised_ = true;
    if (mouse.event == TrayEvent::kMouseDblClick) TrayIcon_MouseDblClick(mouse.button);
    if (mouse.event == TrayEvent::kMouseUp) TrayIcon_MouseUp(mouse.button);
    trayEventRaised_ = false;
}

void Console::TrayIcon_MouseDblClick(int button) {
    if (button == 1) ShowWin();
}

void Console::TrayIcon_MouseUp(int button) {
    if (button != 2) return;
    TrayMenuChosen(tray_.PopUpMenu(TrayMenuChecks{window_.IsVisible(), interpreter_.dockState}));
}

void Console::TrayMenuChosen(TrayMenuItem item) {
    switch (item) {
        case TrayMenuItem::kShowHide:
            if (window_.IsVisible()) {
                HideWin();
            } else {
                ShowWin();
            }
            break;
        case TrayMenuItem::kDockTop:
            Dock(kDockedTop);
            break;
        case TrayMenuItem::kDockBottom:
            Dock(kDockedBottom);
            break;
        case TrayMenuItem::kUndock:
            Dock(kFloating);
            break;
        case TrayMenuItem::kSavePos:
            SavePos();
            break;
        case TrayMenuItem::kAutoexec:
            EditAutoexec();
            break;
        case TrayMenuItem::kExit:
            Exit();
            break;
        case TrayMenuItem::kNone:
            break;
    }
}

void Console::TaskbarCreated() {
    tray_.Add(kTrayTooltip);
}

void Console::KeyUp(int key, int modifiers) {
    TypeFunctionKey(interpreter_, key, modifiers);
}

void Console::MouseMove(int cursorX, int cursorY, const DragKeys& keys) {
    DragResult r =
        DragStep(cursorX, cursorY, lastCursorX_, lastCursorY_, keys,
                 interpreter_.dockState == kFloating, interpreter_.SettingNumber("WinX"),
                 interpreter_.SettingNumber("WinY"), interpreter_.SettingNumber("WinWidth"));
    Rect bounds = window_.Bounds();
    if (r.moved) {
        interpreter_.SetVar("WinX", std::to_string(static_cast<long long>(r.winX)));
        interpreter_.SetVar("WinY", std::to_string(static_cast<long long>(r.winY)));
        window_.Move(
            Rect{static_cast<int>(r.winX), static_cast<int>(r.winY), bounds.width, bounds.height});
    } else if (r.resized) {
        interpreter_.SetVar("WinWidth", std::to_string(static_cast<long long>(r.winWidth)));
        window_.Move(Rect{bounds.left, bounds.top, static_cast<int>(r.winWidth), bounds.height});
    }
    lastCursorX_ = cursorX;
    lastCursorY_ = cursorY;
}

void Console::ShutDown() {
    window_.AppBarUndock();
    if (link_) link_->LinkSocket().Close();
    tray_.Remove();
}

void Console::Exit() {
    ShutDown();
    window_.EndProcess();
}

void Console::Tick() {
    if (window_.IsVisible() && FocusHotkeyPressed(interpreter_)) window_.Show();
    OutputPump(interpreter_, window_, pane_);
}

void Console::UpdatePrompt() {
    prompt.currentDirectory = platform_.files.CurrentDirectory();
    // ORID sets the account user and nothing clears it.
    if (!interpreter_.accountUser.empty()) prompt.accountUser = interpreter_.accountUser;
    if (link_) prompt.peerAddress = link_->PeerAddress();
    ApplyPromptLine(interpreter_, PromptFor(interpreter_.consoleState, prompt));
    ApplySettings();
}

void Console::ApplySettings() {
    vantrel::ApplySettings(interpreter_, window_, interpreter_.dockState);
}

}  // namespace vantrel
