#include "console/console.h"

#include "console/colours.h"
#include "console/keyboard.h"
#include "console/output_pump.h"
#include "console/tray_events.h"
#include "interpreter/launch.h"
#include "interpreter/settings.h"
#include "remote/ban_list.h"
#include "startup/autoexec.h"
#include "startup/defaults.h"

namespace vantrel {

namespace {

constexpr char kNoPasswordForClients[] =
    "A remote client gives the password with the name: ORID name password";
// Shipped beside the program; copied into the shortcut folder on a first run.
constexpr char kSampleShortcuts[] = "\\Sample Shortcuts\\*.*";

}  // namespace

Console::Console(Platform& platform, ConsoleWindow& window, OutputPane& pane, TrayIcon& tray,
                 const CommandTable& commands)
    : platform_(platform),
      window_(window),
      pane_(pane),
      tray_(tray),
      interpreter_(platform, *this, commands) {}

Console::~Console() = default;

void Console::AttachSocket(Socket& socket) {
    link_ = std::make_unique<RemoteLink>(interpreter_, socket, state_,
                                         BanFilePath(DataFolderPath(interpreter_)));
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
    dock_ = DockState::kTop;

    tray_.Add(kTrayTooltip);
    window_.Move(DockedBounds(PrimaryMonitor(window_.Monitors()), DockState::kTop));
    platform_.bar.SetCommandText("");
    UpdatePrompt();
    ShowWin();

    RunBatch(interpreter_, autoexec, "", &err);
    if (interpreter_.exitRequested) return;
    // After Autoexec.dcb, which may turn HistoryFile off.
    LoadHistory();
    if (!argument.empty()) interpreter_.RunCommand(argument);
    if (interpreter_.exitRequested) return;
    if (firstRun_) {
        // The samples are a courtesy: a missing sample folder is no error.
        files.CopyFile(files.ProgramFolder() + kSampleShortcuts, shortcuts, &err);
        for (const char* line : kWelcomeLines) interpreter_.PrintOut(line);
    }
}

void Console::SavePos() {
    // Like SAVEPOS, the tray's item stays silent when the file cannot be
    // written; the file is then left as it was.
    std::string err;
    SavePlacement(interpreter_, dock_, DockedMonitor(), &err);
}

void Console::EditAutoexec() {
    OpenAutoexec(interpreter_);
}

void Console::ShowWin() {
    if (dock_ != DockState::kFloating) window_.AppBarDock(dock_);
    window_.Show();
}

void Console::HideWin() {
    window_.Hide();
    if (dock_ != DockState::kFloating) window_.AppBarUndock();
}

void Console::Dock(DockState where) {
    DockOnMonitor(where, MonitorOf(window_.Monitors(), window_.Bounds()));
}

void Console::DockOn(DockState where, Point monitorPoint) {
    DockOnMonitor(where, MonitorAt(window_.Monitors(), monitorPoint.x, monitorPoint.y));
}

void Console::DockOnMonitor(DockState where, const Monitor& monitor) {
    if (window_.IsVisible()) {
        if (dock_ != DockState::kFloating) window_.AppBarUndock();
        if (where != DockState::kFloating) {
            window_.Move(DockedBounds(monitor, where));
            window_.AppBarDock(where);
        }
    } else if (where != DockState::kFloating) {
        // A hidden bar docks when it is shown, on the monitor it is on.
        window_.Move(DockedBounds(monitor, where));
    }
    dock_ = where;
    ApplySettings();
}

std::optional<Point> Console::DockedMonitor() const {
    if (dock_ == DockState::kFloating) return std::nullopt;
    const std::vector<Monitor> monitors = window_.Monitors();
    const Monitor on = MonitorOf(monitors, window_.Bounds());
    if (on == PrimaryMonitor(monitors)) return std::nullopt;
    return Point{on.bounds.left, on.bounds.top};
}

void Console::ScaleChanged() {
    // The bar has its new size for the new scale; a docked bar takes its
    // edge again at the new height.
    if (dock_ != DockState::kFloating && window_.IsVisible()) {
        Dock(dock_);
    } else {
        ApplySettings();
    }
}

void Console::Listen(const std::string& port, const std::string& password) {
    if (link_) link_->Listen(port, password);
}

bool Console::Connect(const std::string& address, const std::string& password) {
    return !link_ || link_->Connect(address, password);
}

void Console::Disconnect() {
    if (link_) link_->ResetLink();
}

void Console::TrayMouseMessage(int message) {
    if (trayEventRaised_) return;
    // A menu's own message loop would let other input start a line inside
    // the running one: the click waits for the line to end.
    TrayMouse mouse = TrayEventFor(message);
    if (interpreter_.Running()) {
        // The pointer passing over the icon raises nothing and need not wait.
        if (mouse.event != TrayEvent::kNone && heldTrayMessages_.size() < kMostHeldTrayMessages) {
            heldTrayMessages_.push_back(message);
        }
        return;
    }
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
    TrayMenuChosen(tray_.PopUpMenu(TrayMenuChecks{window_.IsVisible(), dock_}));
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
            Dock(DockState::kTop);
            break;
        case TrayMenuItem::kDockBottom:
            Dock(DockState::kBottom);
            break;
        case TrayMenuItem::kUndock:
            Dock(DockState::kFloating);
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

void Console::MouseMove(int cursorX, int cursorY, const DragKeys& keys) {
    DragResult r = DragStep(
        cursorX, cursorY, lastCursorX_, lastCursorY_, keys, dock_ == DockState::kFloating,
        interpreter_.SettingNumber(settings::kWinX), interpreter_.SettingNumber(settings::kWinY),
        interpreter_.SettingNumber(settings::kWinWidth));
    Rect bounds = window_.Bounds();
    if (r.moved) {
        interpreter_.SetVar(settings::kWinX, std::to_string(static_cast<long long>(r.winX)));
        interpreter_.SetVar(settings::kWinY, std::to_string(static_cast<long long>(r.winY)));
        window_.Move(
            Rect{static_cast<int>(r.winX), static_cast<int>(r.winY), bounds.width, bounds.height});
    } else if (r.resized) {
        interpreter_.SetVar(settings::kWinWidth,
                            std::to_string(static_cast<long long>(r.winWidth)));
        window_.Move(Rect{bounds.left, bounds.top, static_cast<int>(r.winWidth), bounds.height});
    }
    lastCursorX_ = cursorX;
    lastCursorY_ = cursorY;
}

void Console::ShutDown() {
    // Outside objects the scripts hold (a COM server's, say) are let go
    // before the process ends, whichever way it ends.
    interpreter_.Engine().ReleaseObjects();
    window_.AppBarUndock();
    if (link_) link_->LinkSocket().Close();
    tray_.Remove();
}

void Console::Exit() {
    ShutDown();
    window_.EndProcess();
}

void Console::Tick() {
    // The timer reaches here inside a running line only through a modal
    // loop the line runs, such as a script's message box (the busy pump
    // leaves the timer out): the box has the keyboard, and nothing of the
    // console may start, take the focus or move on meanwhile. The windows
    // still repaint.
    if (interpreter_.Running()) return;
    if (window_.IsVisible() && FocusHotkeyPressed(interpreter_)) window_.Show();
    if (link_) link_->Tick();
    PumpOutput();
    completion_.Tick();
}

void Console::ShowPendingOutput() {
    // A clear request and the text after it are two steps of the pump.
    for (int step = 0; step < 2 && !interpreter_.PendingOutput().empty(); ++step) {
        OutputPump(interpreter_, window_, pane_);
    }
}

void Console::AskAccountPassword() {
    // The password would be the client's next line, and the command box
    // that takes it is locked while a client is served: the client could
    // never give it and no line of its would run again.
    if (Serving()) {
        interpreter_.PrintOut(kNoPasswordForClients);
        return;
    }
    state_ = kAccountPassword;
}

void Console::PumpOutput() {
    std::string& pending = interpreter_.PendingOutput();
    // A client at the password prompt gets nothing of it: only a logged-in
    // one is served.
    if (state_ == kServing && !pending.empty()) {
        // Form feeds travel too: the client's own pump acts on them.
        link_->Send(pending + "\r\n");
        pending.clear();
        return;
    }
    OutputPump(interpreter_, window_, pane_);
}

void Console::UpdatePrompt() {
    ApplyPrompt(false);
}

void Console::ApplyPrompt(bool lineEnded) {
    // A client arriving or the link changing while the user searches ends
    // the search: the prompt box is the state's again.
    search_.End();
    prompt_.currentDirectory = platform_.files.CurrentDirectory();
    // An empty name given to ORID leaves the one the prompt shows.
    if (!account_.user.empty()) prompt_.accountUser = account_.user;
    if (link_) {
        prompt_.peerAddress = link_->PeerAddress();
        prompt_.remoteHost = link_->RemoteHost();
        prompt_.remotePrompt = link_->RemotePrompt();
    }
    PromptLine line = PromptFor(state_, prompt_);
    if (lineEnded && !line.commandText) line.commandText = "";
    ApplyPromptLine(platform_.bar, line);
    if (line.toClient && link_) link_->Send(*line.toClient);
    ApplySettings();
    RefreshSuggestion();
}

void Console::ApplySettings() {
    ApplyBarSettings(interpreter_, window_, dock_, state_);
}

}  // namespace vantrel
