// In-memory stand-ins for the platform interfaces: they record what the
// core asked for, and hold files, folders and variables in plain maps.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fake_file_system.h"
#include "interpreter/line_text.h"
#include "platform/platform.h"
#include "text/case_fold.h"
#include "text/compare.h"
#include "text/date_order.h"
#include "text/number_settings.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace vantrel::testing {

class FakeBar : public BarWindow {
  public:
    std::string CommandText() const override { return command; }
    void SetCommandText(const std::string& text) override {
        command = text;
        caret = -1;
    }
    void SelectCommandText(int start, int length) override {
        selectionStart = start;
        selectionLength = length;
        caret = start + length;
    }
    // Where the last selection ended; -1 (new text) stands for the end, as
    // typing leaves it.
    int CommandCaret() const override {
        return caret < 0 || caret > static_cast<int>(command.size())
                   ? static_cast<int>(command.size())
                   : caret;
    }
    // The last selection, while the caret is still where it left it.
    std::pair<int, int> CommandSelection() const override {
        const int end = CommandCaret();
        if (caret < 0 || selectionLength <= 0 || caret != selectionStart + selectionLength)
            return {end, end};
        return {std::min(selectionStart, end), end};
    }
    void SetSuggestion(const std::string& tail) override { suggestion = tail; }
    void FocusCommandBox() override { ++focusCount; }
    void SetCommandLocked(bool isLocked) override {
        locked = isLocked;
        if (isLocked) ++lockCount;
    }
    void SetPasswordChar(char c) override { passwordChar = c; }
    std::string PromptText() const override { return prompt; }
    void SetPromptText(const std::string& text) override { prompt = text; }
    void SetBoxColours(const BoxColours& c) override { colours.push_back(c); }
    bool PaneHasText() const override { return paneHasText; }

    std::string command, prompt, suggestion;
    int selectionStart = -1, selectionLength = -1, focusCount = 0, lockCount = 0, caret = -1;
    bool locked = false, paneHasText = false;
    char passwordChar = 0;
    std::vector<BoxColours> colours;
};

class FakeShell : public Shell {
  public:
    struct OpenCall {
        std::string file, params;
        int style;
        bool operator==(const OpenCall&) const = default;
    };
    bool Fits(const std::string& file, const std::string& params) const override {
        return FitsShell(limits, file, params);
    }
    bool Open(const std::string& file, const std::string& params, int style,
              std::string* err) override {
        opens.push_back({file, params, style});
        if (faults && faults->Fails()) {
            *err = kInjectedFailure;
            return false;
        }
        if (openable.count(text::LowerCase(file))) return true;
        *err = "The system cannot find the file specified.";
        return false;
    }
    std::vector<OpenCall> opens;
    std::set<std::string> openable;  // lower-case targets that open
    ShellLimits limits;
    FaultInjector* faults = nullptr;
};

// Plays the system command interpreter for the one-line batch files of
// DOS: the line's redirection target receives "echo" text, or the output
// set for any other command. Tests may take over the run with onBatch.
class FakeProcesses : public Processes {
  public:
    explicit FakeProcesses(FakeFileSystem& files) : files_(files) {}

    struct StartCall {
        std::string commandLine;
        int style;
        bool operator==(const StartCall&) const = default;
    };
    struct Batch {
        std::string path, contents;
        bool stopped = false;
    };

    bool Start(const std::string& commandLine, int style, std::string* err) override {
        started.push_back({commandLine, style});
        if (!startError.empty() || Injected()) {
            *err = startError.empty() ? kInjectedFailure : startError;
            return false;
        }
        return true;
    }
    std::unique_ptr<BatchRun> StartBatchFile(const std::string& path, std::string* err) override {
        std::string contents, readErr;
        files_.ReadFile(path, &contents, &readErr);
        batches.push_back({path, contents});
        if (!startError.empty() || Injected()) {
            *err = startError.empty() ? kInjectedFailure : startError;
            return nullptr;
        }
        if (onBatch) {
            onBatch(contents);
        } else {
            Interpret(contents);
        }
        return std::make_unique<Run>(*this, batches.size() - 1);
    }
    unsigned long CurrentProcessId() const override { return pid; }
    bool Injected() { return faults && faults->Fails(); }
    FaultInjector* faults = nullptr;
    std::string ExecutablePath() const override { return executable; }
    std::vector<std::string> ProcessNames() const override { return running; }
    std::vector<std::string> running;  // what ProcessNames lists

    std::vector<StartCall> started;
    std::vector<Batch> batches;
    std::string startError;  // when set, nothing starts
    // How many waits a run takes to end (-1: it runs until stopped), and
    // what happens at each of them.
    int waitsToEnd = 0;
    std::function<void(int wait)> onWait;
    std::string commandOutput;  // what a command other than echo prints
    std::function<void(const std::string& batchContents)> onBatch;
    unsigned long pid = 4242;
    std::string executable = "C:\\Program Files\\Vantrel\\Vantrel.exe";

  private:
    class Run : public BatchRun {
      public:
        Run(FakeProcesses& owner, size_t index) : owner_(owner), index_(index) {}
        bool Wait(unsigned long) override {
            if (owner_.onWait) owner_.onWait(waits_);
            ++waits_;
            return owner_.batches[index_].stopped ||
                   (owner_.waitsToEnd >= 0 && waits_ > owner_.waitsToEnd);
        }
        void Stop() override { owner_.batches[index_].stopped = true; }

      private:
        FakeProcesses& owner_;
        size_t index_;
        int waits_ = 0;
    };

    void Interpret(std::string line) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        size_t redirect = line.rfind('>');
        if (redirect == std::string::npos) return;
        std::string target(TrimSpaces(std::string_view(line).substr(redirect + 1)));
        if (target.size() >= 2 && target.front() == '"' && target.back() == '"') {
            target = target.substr(1, target.size() - 2);
        }
        std::string command(TrimSpaces(std::string_view(line).substr(0, redirect)));
        bool append = !command.empty() && command.back() == '>';
        if (append) command.pop_back();
        command = std::string(TrimSpaces(command));
        std::string output =
            text::StartsWithNoCase(command, "echo ") ? command.substr(5) + "\r\n" : commandOutput;
        std::string err;
        if (append) {
            files_.AppendFile(target, output, &err);
        } else {
            files_.WriteFile(target, output, &err);
        }
    }

    FakeFileSystem& files_;
};

// Registry values in a map; refusal makes every change fail, as a key
// without the right to change it does.
class FakeRegistry : public Registry {
  public:
    bool SetString(const std::string& key, const std::string& name, const std::string& value,
                   std::string* err) override {
        if (!refusal.empty() || (faults && faults->Fails())) {
            *err = refusal.empty() ? kInjectedFailure : refusal;
            return false;
        }
        values[Id(key, name)] = value;
        return true;
    }
    bool DeleteValue(const std::string& key, const std::string& name, std::string* err) override {
        if (!refusal.empty() || (faults && faults->Fails())) {
            *err = refusal.empty() ? kInjectedFailure : refusal;
            return false;
        }
        values.erase(Id(key, name));
        return true;
    }
    std::string GetString(const std::string& key, const std::string& name) const override {
        auto it = values.find(Id(key, name));
        return it == values.end() ? std::string() : it->second;
    }

    std::vector<std::string> SubKeys(Root root, const std::string& key) const override {
        auto it = subKeys.find({root, text::LowerCase(key)});
        return it == subKeys.end() ? std::vector<std::string>() : it->second;
    }

    static std::string Id(const std::string& key, const std::string& name) {
        return text::LowerCase(key) + "|" + text::LowerCase(name);
    }
    std::map<std::string, std::string> values;                                 // by Id
    std::map<std::pair<Root, std::string>, std::vector<std::string>> subKeys;  // lower-case key
    std::string refusal;
    FaultInjector* faults = nullptr;
};

class FakeEnvironment : public Environment {
  public:
    bool Get(const std::string& name, std::string* value) const override {
        for (const auto& [key, v] : variables) {
            if (text::EqualsNoCase(key, name)) {
                *value = v;
                return true;
            }
        }
        return false;
    }
    std::vector<std::string> Block() const override {
        std::vector<std::string> block;
        for (const auto& [key, v] : variables) block.push_back(key + "=" + v);
        return block;
    }
    std::vector<std::pair<std::string, std::string>> variables;
};

class FakeClock : public Clock {
  public:
    LocalTime Now() const override { return now; }
    // Each reading moves the clock on by step, so that work which watches
    // the time sees it pass.
    std::uint64_t Milliseconds() const override { return milliseconds += step; }
    bool SetNow(const LocalTime& time) override {
        sets.push_back(time);
        now = time;
        return true;
    }
    // M/D/YYYY, or in the order set: DD/MM/YYYY, YYYY-MM-DD.
    std::string FormatDate(const LocalTime& t) const override {
        char out[48];
        switch (dateOrder) {
            case text::DateOrder::kDayMonthYear:
                std::snprintf(out, sizeof out, "%02d/%02d/%04d", t.day, t.month, t.year);
                break;
            case text::DateOrder::kYearMonthDay:
                std::snprintf(out, sizeof out, "%04d-%02d-%02d", t.year, t.month, t.day);
                break;
            default:
                std::snprintf(out, sizeof out, "%d/%d/%d", t.month, t.day, t.year);
                break;
        }
        return out;
    }
    text::DateOrder ShortDateOrder() const override { return dateOrder; }
    std::string FormatLongDate(const LocalTime& t) const override {
        return "long " + FormatDate(t);
    }
    std::string FormatTime(const LocalTime& t) const override {
        char text[32];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
        return text;
    }
    text::NumberSettings Numbers() const override { return numbers; }
    LocalTime now{2026, 12, 6, 14, 30, 5, 0};
    mutable std::uint64_t milliseconds = 0;
    std::uint64_t step = 0;
    text::NumberSettings numbers;
    text::DateOrder dateOrder = text::DateOrder::kMonthDayYear;
    std::vector<LocalTime> sets;
};

// A desktop of windows given by the test, in stacking order; records what
// the window commands did to them.
class FakeDesktopWindows : public DesktopWindows {
  public:
    struct Window {
        WindowHandle handle;
        unsigned long pid;
        std::string title;
        bool visible = true;
    };
    std::vector<WindowHandle> TopLevelWindows() const override {
        std::vector<WindowHandle> handles;
        for (const Window& w : windows) handles.push_back(w.handle);
        return handles;
    }
    std::string WindowTitle(WindowHandle h) const override {
        const Window* w = Find(h);
        return w ? w->title : std::string();
    }
    unsigned long WindowProcessId(WindowHandle h) const override {
        const Window* w = Find(h);
        return w ? w->pid : 0;
    }
    bool IsVisible(WindowHandle h) const override {
        const Window* w = Find(h);
        return w && w->visible;
    }
    void BringToTop(WindowHandle h) override { raised.push_back(h); }
    void RequestClose(WindowHandle h) override { closed.push_back(h); }
    void TerminateProcess(unsigned long pid) override { terminated.push_back(pid); }

    std::vector<Window> windows;
    std::vector<WindowHandle> raised, closed;
    std::vector<unsigned long> terminated;

  private:
    const Window* Find(WindowHandle h) const {
        for (const Window& w : windows) {
            if (w.handle == h) return &w;
        }
        return nullptr;
    }
};

// Records synthesised input; keys reported down are held in a set.
class FakeInput : public Input {
  public:
    void SendKeys(const std::vector<KeyStroke>& keys) override { sent.push_back(keys); }
    bool CursorPos(int* x, int* y) const override {
        *x = cursorX;
        *y = cursorY;
        return true;
    }
    void SetCursorPos(int x, int y) override {
        cursorX = x;
        cursorY = y;
        moves.push_back({x, y});
    }
    void Click(MouseButton button) override { clicks.push_back(button); }
    bool KeyDown(int virtualKey) const override { return down.count(virtualKey) > 0; }

    int cursorX = 0, cursorY = 0;
    std::vector<std::pair<int, int>> moves;
    std::vector<MouseButton> clicks;
    std::vector<std::vector<KeyStroke>> sent;
    std::set<int> down;
};

// Answers every box at once as told, and records what each one showed.
// whileOpen runs while a box is up: what the window system may do then.
class FakeDialogs : public Dialogs {
  public:
    int MsgBox(const MsgBoxRequest& request) override {
        msgBoxes.push_back(request);
        Open();
        return closedByStop_ ? 2 : pressed;  // IDCANCEL
    }
    bool InputBox(const InputBoxRequest& request, std::string* answer) override {
        inputBoxes.push_back(request);
        Open();
        if (closedByStop_ || !typed) return false;
        *answer = *typed;
        return true;
    }
    void CloseBox() override {
        ++closeRequests;
        if (open_) closedByStop_ = true;
    }
    // Ctrl+Break pressed in the box that is up.
    void PressStopKey() { StopKeyPressed(); }

    int pressed = 1;                   // the button a message box returns
    std::optional<std::string> typed;  // an input box's text; unset: Cancel
    std::function<void()> whileOpen;
    std::vector<MsgBoxRequest> msgBoxes;
    std::vector<InputBoxRequest> inputBoxes;
    int closeRequests = 0;

  private:
    void Open() {
        open_ = true;
        closedByStop_ = false;
        if (whileOpen) whileOpen();
        open_ = false;
    }

    bool open_ = false;
    bool closedByStop_ = false;
};

// UTF-8 as the process's text, Windows-1252 as the legacy code page; the
// OEM code page is Windows-1252 too unless a test gives another mapping.
// With processIsUtf8 off the process's text is Windows-1252, as on a system
// that does not honour the manifest's code page.
class FakeCodePages : public CodePages {
  public:
    bool ProcessIsUtf8() const override { return processIsUtf8; }
    std::string FromLegacy(std::string_view bytes) const override {
        if (!processIsUtf8) return std::string(bytes);
        std::string out;
        for (char c : bytes) text::utf8::Append(&out, text::FromWindows1252(c));
        return out;
    }
    std::string ToLegacy(std::string_view text) const override {
        return processIsUtf8 ? Utf8To1252(text) : std::string(text);
    }
    std::string FromOem(std::string_view bytes) const override {
        if (!oem) return FromLegacy(bytes);
        std::string out;
        for (char c : bytes) text::utf8::Append(&out, oem(static_cast<unsigned char>(c)));
        return processIsUtf8 ? out : Utf8To1252(out);
    }
    std::string ToOem(std::string_view text) const override {
        if (!oem) return ToLegacy(text);
        const std::string utf8 = processIsUtf8 ? std::string(text) : FromUtf8Of1252(text);
        std::string out;
        for (size_t i = 0; i < utf8.size();) {
            const text::utf8::Char c = text::utf8::Decode(utf8, i);
            i += c.bytes;
            char b = '?';
            for (int byte = 0; byte < 256; ++byte) {
                if (c.valid && oem(static_cast<unsigned char>(byte)) == c.code) {
                    b = static_cast<char>(byte);
                    break;
                }
            }
            out.push_back(b);
        }
        return out;
    }
    std::string FromUtf8(std::string_view bytes) const override {
        return processIsUtf8 ? std::string(bytes) : Utf8To1252(bytes);
    }
    std::string FromUtf16(std::u16string_view units) const override {
        std::string out;
        for (size_t i = 0; i < units.size(); ++i) {
            char32_t code = units[i];
            if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                units[i + 1] < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
            }
            text::utf8::Append(&out, code);
        }
        return processIsUtf8 ? out : Utf8To1252(out);
    }

    bool processIsUtf8 = true;
    std::function<char32_t(unsigned char)> oem;

  private:
    static std::string FromUtf8Of1252(std::string_view bytes) {
        std::string out;
        for (char c : bytes) text::utf8::Append(&out, text::FromWindows1252(c));
        return out;
    }
    static std::string Utf8To1252(std::string_view text) {
        std::string out;
        for (size_t i = 0; i < text.size();) {
            const text::utf8::Char c = text::utf8::Decode(text, i);
            i += c.bytes;
            const char b =
                c.code < 0x10000 ? text::ToWindows1252(static_cast<uint16_t>(c.code)) : '?';
            // ToWindows1252 answers '?' for what 1252 lacks; an invalid byte is lost too.
            out.push_back(c.valid ? b : '?');
        }
        return out;
    }
};

// Seals by turning every byte, behind a mark: the sealed text never holds
// the secret in clear, and what another user sealed (no mark) does not open.
class FakeSecrets : public SecretProtection {
  public:
    bool Seal(const std::string& secret, std::string* sealed, std::string* err) override {
        if (failing) return Fail(err);
        *sealed = kMark;
        for (char c : secret) sealed->push_back(static_cast<char>(c ^ 0x5A));
        return true;
    }
    bool Open(const std::string& sealed, std::string* secret, std::string* err) override {
        if (failing || !sealed.starts_with(kMark)) return Fail(err);
        secret->clear();
        for (char c : sealed.substr(sizeof kMark - 1))
            secret->push_back(static_cast<char>(c ^ 0x5A));
        return true;
    }
    bool failing = false;

  private:
    static constexpr char kMark[] = "SEALED:";
    static bool Fail(std::string* err) {
        *err = "The data is invalid.";
        return false;
    }
};

// One of each, bundled as the core expects.
struct FakePlatform {
    FakeBar bar;
    FakeShell shell;
    FakeFileSystem files;
    FakeEnvironment environment;
    FakeClock clock;
    FakeProcesses processes{files};
    FakeRegistry registry;
    FakeDesktopWindows windows;
    FakeInput input;
    FakeDialogs dialogs;
    FakeCodePages codePages;
    FakeSecrets secrets;
    Platform platform{bar,      shell,   files, environment, clock,     processes,
                      registry, windows, input, dialogs,     codePages, secrets};

    // From now on the given call of any service fails (0: none).
    void InjectFault(FaultInjector& injector) {
        files.faults = shell.faults = processes.faults = registry.faults = &injector;
    }
};

}  // namespace vantrel::testing
