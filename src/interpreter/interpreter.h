// The command interpreter: every command line, typed, read from a batch
// file or received from a remote client, runs through RunCommand. Commands
// write only through PrintOut; the output pump shows PendingOutput later.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "interpreter/command_permit.h"
#include "interpreter/console_host.h"
#include "interpreter/dispatch.h"
#include "interpreter/launch.h"
#include "interpreter/script_host.h"
#include "interpreter/variables.h"
#include "platform/platform.h"
#include "script/engine.h"

namespace vantrel {

class Interpreter : private ScriptLine {
  public:
    // The table is the interpreter's whole command language; the host is
    // the console around it. Both outlive the interpreter.
    Interpreter(Platform& platform, ConsoleHost& host, const CommandTable& commands);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Runs one command line. Re-entrant: batch files call it from inside a
    // command.
    void RunCommand(const std::string& line);
    // An outermost line that is not a command line: shown as `shown` (the
    // pane cleared or kept, the echo, the box while it runs) as a typed
    // line would be, then body runs in place of the line's commands. What
    // body does is never expanded: a path from the shell runs so.
    void RunShownLine(const std::string& shown, const std::function<void()>& body);
    // Runs a linked client's line under the permit. The whole line is
    // checked first, and a line with any refused command runs nothing. While
    // it runs, every command (those of the batch files it runs too) is
    // checked again before its markers are expanded and after each rewrite,
    // which catches what the line as sent does not show: a SET that changes
    // the separator or a marker, the lines of a batch file; a refused one
    // stops the rest of its line. Each refusal is printed; the last is
    // returned, "" when nothing was refused.
    std::string RunPermitted(const std::string& line, const CommandPermit& permit);
    // The same for a line the caller has checked whole (RefuseLine) and
    // found allowed: only the checks while it runs.
    std::string RunGuarded(const std::string& line, const CommandPermit& permit);

    // Long work (batch files, the script engine, a DOS command, the segments
    // of a line) calls Poll often: it keeps the console alive and says
    // whether the running line was asked to stop.
    bool Poll();
    // What the script engine and the file system ask during long work:
    // outside a line (the console reading a setting) nothing may pump.
    bool KeepGoing() override { return !Running() || !Poll(); }
    // Esc, Ctrl+Break or a served client's Ctrl+C: the running line stops at
    // its next Poll, and the rest of it (and of its batch files) is dropped.
    // A script's box that is up closes as Cancel would, and its script ends
    // with the user-interrupt error. Nothing happens when no line runs; a
    // new line starts afresh.
    void RequestStop();
    bool Running() const override { return depth_ > 0; }
    // A script's message or input box is up, inside the running line.
    bool DialogOpen() const { return scriptHost_.DialogOpen(); }

    // Marks work that runs lines: a command line, a batch file. The first
    // to begin opens the console's busy state and the last to end closes
    // it, so a batch file run at start-up is one piece of work, as is a
    // typed line with every batch file it runs.
    class Activity {
      public:
        explicit Activity(Interpreter& in);
        ~Activity();
        Activity(const Activity&) = delete;
        Activity& operator=(const Activity&) = delete;

      private:
        Interpreter& in_;
    };
    // The line that runs now, innermost first: what the bar shows while a
    // batch file runs.
    const std::string& CurrentLine() const { return currentLine_; }

    // Appends one output line to PendingOutput, which is kept below
    // kMaxPendingOutput by dropping its oldest lines.
    void PrintOut(std::string_view text);
    static constexpr size_t kMaxPendingOutput = 8 << 20;
    std::string& PendingOutput() { return pendingOutput_; }

    // Variables live in the script engine.
    bool SetVar(const std::string& name, const std::string& value);
    // Reads a variable or expression; the empty value on failure.
    script::Value Evaluate(std::string_view expression);
    std::string EvaluateText(std::string_view expression);
    // A value as text, as the engine converts it (dates in the regional form).
    bool ValueText(const script::Value& value, std::string* text, script::Error* err);
    // A setting variable's text, read without running any script code, so
    // that the console may read its settings while a script runs; "" when it
    // is unset or holds no text.
    std::string SettingText(std::string_view name);
    // The number at the start of a setting's text: "12abc" is 12, "on" is 0.
    double SettingNumber(std::string_view name);
    // The separator and markers of command lines, as the settings give them.
    LineMarkers Markers();
    // An environment variable's value, "" when it does not exist.
    std::string EnvGet(const std::string& name) const;
    // Whether a setting is numerically not 0.
    bool SettingOn(std::string_view name) { return SettingNumber(name) != 0; }

    script::Engine& Engine() { return engine_; }
    // The engine's reading and writing of dates, in the regional forms.
    const ConsoleScriptHost& ScriptHost() const { return scriptHost_; }
    Variables& Vars() { return variables_; }
    Platform& Os() { return platform_; }
    ConsoleHost& Host() { return host_; }
    const CommandTable& Commands() const { return commands_; }
    // What answers a name that opened nothing with names it may have meant;
    // none until the console sets one.
    void SetNameSuggester(NameSuggester* suggester) { suggester_ = suggester; }
    NameSuggester* Suggester() const { return suggester_; }

    // Batch files that run batch files are stopped at this depth.
    static constexpr int kMaxBatchDepth = 64;
    int batchDepth = 0;

    // Once EXIT has run, no further command of the line or of a batch file
    // runs.
    bool exitRequested = false;

  private:
    // Held while RunPermitted's line runs: nested lines of that line see it.
    struct PermitScope {
        PermitScope(Interpreter& in, const CommandPermit& permit);
        ~PermitScope();
        PermitScope(const PermitScope&) = delete;
        PermitScope& operator=(const PermitScope&) = delete;

        Interpreter& in;
        const CommandPermit& permit;
        PermitScope* outer;
        std::string refusal;  // the last one printed
    };

    void RunLine(const std::string& line);
    // The start of every line: the pane cleared or kept, the echo.
    void StartLine(const std::string& shown);
    void RunSegments(std::string line);
    void TrimPendingOutput();

    int depth_ = 0;
    bool stopRequested_ = false;
    PermitScope* permitScope_ = nullptr;
    std::string currentLine_;

    Platform& platform_;
    ConsoleHost& host_;
    const CommandTable& commands_;
    ConsoleScriptHost scriptHost_;
    script::Engine engine_;
    Variables variables_;
    std::string pendingOutput_;
    NameSuggester* suggester_ = nullptr;
};

}  // namespace vantrel
