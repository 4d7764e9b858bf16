#include "console/console.h"

#include "console/keyboard.h"
#include "console/output_pump.h"
#include "interpreter/launch.h"
#include "interpreter/settings.h"
#include "platform/paths.h"
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
      interpreter_(platform, *this, commands),
      tray_(interpreter_, tray, window, placement_) {}

void Console::AttachSocket(Socket& socket) {
    link_ = std::make_unique<RemoteLink>(interpreter_, socket, state_,
                                         BanFilePath(DataFolderPath(interpreter_)));
}

void Console::StartUp(const std::string& argument) {
    FileSystem& files = platform_.files;
    const std::string orvane = JoinPath(AllUsersFolder(interpreter_), "Orvane");
    const std::string data = orvane + "\\Vantrel";
    const std::string shortcuts = data + "\\Shortcuts";

    // Making a folder that exists fails; a first run is one where both of
    // the console's own folders were new.
    std::string err;
    files.MakeFolder(orvane, &err);
    const bool newData = files.MakeFolder(data, &err);
    const bool newShortcuts = files.MakeFolder(shortcuts, &err);
    const bool firstRun = newData && newShortcuts && argument.empty();
    const std::string autoexec = shortcuts + "\\Autoexec.dcb";
    files.AppendFile(autoexec, "", &err);

    AssignDefaults(interpreter_, window_.ScreenSize().width);
    placement_.PlaceAtStart();
    platform_.bar.SetCommandText("");
    UpdatePrompt();
    placement_.ShowWin();
    // After the bar shows, as the icon is a round trip to the shell's
    // notification area that can take longer than the bar itself; before
    // Autoexec.dcb, whose lines may hide the bar to it.
    tray_.Add();

    RunBatch(interpreter_, autoexec, "", &err);
    if (interpreter_.exitRequested) return;
    // After Autoexec.dcb, which may turn HistoryFile off.
    editor_.LoadHistory();
    if (link_) link_->PruneTranscript();
    if (!argument.empty()) {
        const HandedOver start = ReadStartArgument(argument);
        if (start.kind == HandedOver::kLine) {
            interpreter_.RunCommand(start.text);
        } else if (!start.text.empty()) {
            OpenFromShell(interpreter_, start.text);
        }
    }
    if (interpreter_.exitRequested) return;
    if (firstRun) {
        // The samples are a courtesy: a missing sample folder is no error.
        files.CopyFile(files.ProgramFolder() + kSampleShortcuts, shortcuts, &err);
        for (const char* line : kWelcomeLines) interpreter_.PrintOut(line);
    }
}

void Console::ShutDown() {
    // Outside objects the scripts hold (a COM server's, say) are let go
    // before the process ends, whichever way it ends.
    interpreter_.Engine().ReleaseObjects();
    window_.AppBarUndock();
    if (link_) link_->ShutDown();
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
    PollFocusKey();
    ApplySummonKey();
    if (link_) link_->Tick();
    RunHandedOver();
    PumpOutput(interpreter_, state_, link_.get(), window_, pane_);
    editor_.Tick();
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
    if (state_ == kAwaitingLogin || state_ == kServing) {
        interpreter_.PrintOut(kNoPasswordForClients);
        return;
    }
    state_ = kAccountPassword;
}

void Console::UpdatePrompt() {
    editor_.PromptChanging();
    prompt_.currentDirectory = platform_.files.CurrentDirectory();
    // An empty name given to ORID leaves the one the prompt shows.
    if (!account_.user.empty()) prompt_.accountUser = account_.user;
    if (link_) {
        prompt_.peerAddress = link_->PeerAddress();
        prompt_.remoteHost = link_->RemoteHost();
        prompt_.remotePrompt = link_->RemotePrompt();
        prompt_.encrypted = link_->Encrypted();
    }
    PromptLine line = PromptFor(state_, prompt_);
    if (editor_.Searching()) line.prompt = editor_.SearchPrompt();
    ApplyPromptLine(platform_.bar, line);
    if (line.toClient && link_) link_->Send(*line.toClient);
    placement_.ApplySettings();
    editor_.PromptChanged();
}

}  // namespace vantrel
