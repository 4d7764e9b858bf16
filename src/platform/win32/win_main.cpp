// The program: one instance at a time, the bar, its pane and tray icon, the
// console behind them with the built-in command language, and the message
// loop. A second start hands its argument to the first and ends.
#include "commands/command_table.h"
#include "console/console.h"
#include "platform/win32/com_provider.h"
#include "platform/win32/instance_hand_over.h"
#include "platform/win32/main_window.h"
#include "platform/win32/output_form.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_code_pages.h"
#include "platform/win32/win32_desktop_windows.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_secrets.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_socket.h"
#include "platform/win32/win32_tray_icon.h"

namespace {

using namespace vantrel;
using namespace vantrel::win32;

// Named for the whole session: a second start finds it and ends at once.
constexpr char kInstanceMutex[] = "Local\\OrvaneVantrelConsole";
// How long a second start waits for the running console to take its
// argument: the console may be making its pipe still, or answering another
// start.
constexpr DWORD kHandOverWaitMs = 5000;

class App {
  public:
    explicit App(HINSTANCE instance)
        : pane_(instance, [this] { main_.FocusCommandBox(); }), main_(instance, pane_) {}

    int Run(const std::string& argument) {
        if (!main_.Create(&console_)) return 1;
        console_.In().Engine().SetObjectProvider(&objects_);
        pane_.SetOwner(main_.Handle());
        shell_.SetOwner(main_.Handle());
        dialogs_.SetOwner(main_.Handle());
        tray_.SetOwner(main_.Handle(), main_.Icon(), Main::kTrayMessage);
        // Without Winsock the console still runs; only its link is missing.
        std::string err;
        if (socket_.Create(GetModuleHandleA(nullptr), &err)) console_.AttachSocket(socket_);
        // Without the pipe later starts get no answer; this one runs on.
        if (handOver_.Create(
                HandOverPipeName(),
                [this](const std::string& argument) { return console_.HandOver(argument); },
                &err)) {
            main_.SetPoll([this] { handOver_.Serve(); });
        }
        console_.StartUp(argument);
        // The timer starts once start-up is done: its output shows at the
        // first tick.
        main_.StartTimer();

        MSG msg;
        // Unicode, so that a typed character reaches the Unicode boxes whole.
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            const bool replayed = main_.TakeReplayed(msg);
            if (main_.PreTranslate(msg) || pane_.PreTranslate(msg)) continue;
            if (!replayed) TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        console_.ShutDown();
        return 0;
    }

  private:
    // First in, last out: COM outlives every object a script holds.
    com::ComApartment apartment_;
    com::ComObjectProvider objects_;
    Win32FileSystem files_;
    Win32Environment environment_;
    Win32Clock clock_;
    Win32Shell shell_;
    Win32Processes processes_;
    Win32Registry registry_;
    Win32TrayIcon tray_;
    Win32DesktopWindows desktop_;
    Win32Input input_;
    Win32Dialogs dialogs_;
    Win32CodePages codePages_;
    Win32Socket socket_;
    OutputForm pane_;
    Main main_;
    Win32Secrets secrets_;
    Platform platform_{main_,     shell_,   files_, environment_, clock_,     processes_,
                       registry_, desktop_, input_, dialogs_,     codePages_, secrets_};
    Console console_{platform_, main_, pane_, tray_, BuiltInCommands()};
    // Declared after the console it hands to, so that it goes first.
    HandOverServer handOver_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    BecomePerMonitorAware();
    const std::string argument = commandLine ? commandLine : "";
    UniqueHandle instanceMutex(CreateMutexA(nullptr, FALSE, kInstanceMutex));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // 0 once the running console took it; nothing ran otherwise.
        return static_cast<int>(HandOverToRunning(HandOverPipeName(), argument, kHandOverWaitMs));
    }
    App app(instance);
    return app.Run(argument);
}
