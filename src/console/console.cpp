#include "console/console.h"

#include "console/output_pump.h"
#include "interpreter/launch.h"
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
    window_.Show();

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

void Console::ShutDown() {
    tray_.Remove();
}

void Console::Exit() {
    ShutDown();
    window_.EndProcess();
}

void Console::Tick() {
    OutputPump(interpreter_, window_, pane_);
}

void Console::UpdatePrompt() {
    prompt.currentDirectory = platform_.files.CurrentDirectory();
    ApplyPromptLine(interpreter_, PromptFor(interpreter_.consoleState, prompt));
    ApplySettings();
}

void Console::ApplySettings() {
    vantrel::ApplySettings(interpreter_, window_, interpreter_.dockState);
}

}  // namespace vantrel
