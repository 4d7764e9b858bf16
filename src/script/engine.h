// The embedding interface of the script engine: a VBScript-compatible
// language that holds every variable of the console. Failures are values,
// never exceptions: each call says whether it worked and LastError() tells why.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/host.h"
#include "script/value.h"

namespace script {

struct Error {
    int number = 0;           // VBScript's error number, 0 when none
    std::string description;  // VBScript's text for it, one line
    // Where it happened, both 1-based, in the text the failing code came
    // from: for a running script the start of the statement that failed (the
    // innermost one, inside a called procedure if that is where it failed);
    // for text the compiler refused, where it found the fault. Code run by
    // Eval, Execute and ExecuteGlobal counts in the text they were given. 0
    // when no statement was running (a default member read by ToText).
    int line = 0;
    int column = 0;
    bool compilation = false;  // the compiler refused the text; none of it ran
};

// The line a script host shows for an error that ended the script at path:
// "PATH(LINE, COLUMN) VBScript runtime error: DESCRIPTION", or "compilation
// error" for text that did not compile.
std::string HostErrorLine(std::string_view path, const Error& error);

class Engine {
  public:
    // The host supplies the clock and the date formats; nullptr uses the
    // portable defaults of Host.
    explicit Engine(Host* host = nullptr);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Evaluates one expression. A name never assigned yields Empty. Each
    // text is compiled once and kept (a bounded cache), so evaluating the
    // same short text again costs a lookup and the evaluation itself.
    bool Eval(std::string_view expression, Value* result);
    // Runs statements separated by ':' or line breaks at global scope; Sub,
    // Function and Class definitions stay for later calls. An assignment
    // name="value" fails for names that cannot be variables: reserved words
    // (1023/1024), library functions and constants (501), a leading digit
    // (1025).
    bool ExecuteStatement(std::string_view statement);

    // A global variable's value as it stands, without running any code: what
    // the console reads while a script runs. False when the name is no
    // variable (never used, or a procedure or class).
    bool ReadVariable(std::string_view name, Value* value) const;
    // Whether the script has a global of that name (declared or assigned: a
    // variable, procedure or class), which then stands for it in place of a
    // library function or constant of the same name.
    bool Declares(std::string_view name) const;
    // The names of the global variables (not procedures or classes), each as
    // first written, in the order they came into being.
    std::vector<std::string> VariableNames() const;
    // Assigns text to a global variable, with the checks and the effects of
    // the script's own name="text" (an object it held is released), but
    // without compiling the text: a thousand distinct values cost one
    // compiled assignment.
    bool AssignText(std::string_view name, std::string_view text);

    // The failure of the last call; every call starts by clearing it.
    const Error& LastError() const;
    void ClearError();

    // CStr's text for a value, dates in this engine's host formats; Null
    // gives "Null" and an object its default member's text. On failure
    // (arrays, objects without a default) LastError() says why.
    bool ToText(const Value& value, std::string* text);
    // What the cache of compiled texts holds, in bytes, as counted while
    // each was compiled; it never passes the cache's bound.
    size_t CachedBytes() const;
    // Stops the script running on another thread with error 18 "User
    // interrupt occurred": within 1,024 loop turns or calls, or at once when
    // it waits on a call to an automation object. Safe from any thread.
    void Interrupt();
    // How much of the calling thread's stack a call may use before failing
    // with "Out of stack space" (28); 640 KB by default, which suits the
    // 1 MB main-thread stack of a Windows program.
    void SetStackLimit(size_t bytes);
    // Empties every global variable that holds an object or an array, so
    // that each object is released (and runs its Class_Terminate) now, as a
    // program about to end needs for the outside objects it holds.
    void ReleaseObjects();
    // Lets CreateObject and GetObject reach objects outside the engine; the
    // provider must outlive the engine and every object it made.
    void SetObjectProvider(class ObjectProvider* provider);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace script
