// The command interpreter: every command line, typed, read from a batch
// file or received from a remote client, runs through RunCommand. Commands
// write only through PrintOut; the output pump shows PendingOutput later.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/command_history.h"
#include "interpreter/console_state.h"
#include "interpreter/script_host.h"
#include "interpreter/variables.h"
#include "platform/platform.h"
#include "script/engine.h"

namespace vantrel {

// One command of a line, after splitting and expansion.
struct CommandRow;
class RemoteLink;

struct Command {
    std::string line;       // the trimmed command text
    std::string word;       // the command word, lower case
    std::string args;       // the argument text, trimmed, case kept
    std::string argsLower;  // the same in lower case
    const CommandRow* row = nullptr;  // the table row running it

    // The n-th argument after the command word (quote-aware), "" if none.
    std::string Arg(int n) const;
};

class Interpreter {
public:
    explicit Interpreter(Platform& platform);

    // Runs one command line. Re-entrant: batch files call it from inside a
    // command.
    void RunCommand(const std::string& line);

    // Appends one output line to PendingOutput, which is kept below
    // kMaxPendingOutput by dropping its oldest lines.
    void PrintOut(std::string_view text);
    static constexpr size_t kMaxPendingOutput = 8 << 20;
    std::string& PendingOutput() { return pendingOutput_; }

    // The Enter and Esc buttons and arrow-key history browsing.
    void EnterClicked();
    void EscClicked();
    void HistoryUp();
    void HistoryDown();

    // Variables live in the script engine.
    bool SetVar(const std::string& name, const std::string& value);
    // Reads a variable or expression; the empty value on failure.
    script::Value Evaluate(std::string_view expression);
    std::string EvaluateText(std::string_view expression);
    // A value as text, as the engine converts it (dates in the regional form).
    bool ValueText(const script::Value& value, std::string* text, script::Error* err);
    // The number at the start of a setting's text: "12abc" is 12, "on" is 0.
    double SettingNumber(std::string_view name);
    // An environment variable's value, "" when it does not exist.
    std::string EnvGet(const std::string& name) const;
    // Whether a setting is numerically not 0.
    bool SettingOn(std::string_view name) { return SettingNumber(name) != 0; }

    script::Engine& Engine() { return engine_; }
    Variables& Vars() { return variables_; }
    const CommandHistory& History() const { return history_; }
    Platform& Os() { return platform_; }

    ConsoleState consoleState = kLocal;
    // Changed only by docking and undocking; SAVEPOS records it.
    int dockState = kDockedTop;

    // Set by the console that hosts the interpreter. UpdatePrompt runs at the
    // end of every command line; sendToPeer carries a typed line to the
    // linked console; storeAccountPassword takes the account password.
    std::function<void()> updatePrompt;
    std::function<void(const std::string&)> sendToPeer;
    std::function<void(const std::string&)> storeAccountPassword;
    // The remote console's link, when the host gave the console a socket.
    RemoteLink* remoteLink = nullptr;

    // Batch files that run batch files are stopped at this depth.
    static constexpr int kMaxBatchDepth = 64;
    int batchDepth = 0;

    // Ends the console (EXIT); set by the window that owns it. Once EXIT has
    // run, no further command of the line or of a batch file runs.
    std::function<void()> exitConsole;
    bool exitRequested = false;

    // Placement, carried out by the console that owns the window: Dock takes
    // a DockState; showWin and hideWin show and hide the bar.
    std::function<void(int)> dock;
    std::function<void()> showWin;
    std::function<void()> hideWin;

    // The account of the maker's site (ORID), held in memory only.
    std::string accountUser;
    std::string accountPass;

private:
    void RunSegments(std::string line);
    void TrimPendingOutput();
    void ShowHistoryEntry(const std::string& text);

    Platform& platform_;
    ClockScriptHost scriptHost_;
    script::Engine engine_;
    Variables variables_;
    CommandHistory history_;
    std::string pendingOutput_;
};

}  // namespace vantrel
