// Time per keystroke (the suggestion worked out for the new text) and per
// Tab, on in-memory platform services at the sizes a long-used machine has:
// 10,000 history lines, a current folder of 20,000 files, 5,000 Start-menu
// shortcuts and a PATH of 50 folders.
#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "benches.h"
#include "platform/key_codes.h"
#include "socket_console.h"

namespace {

using vantrel::testing::SocketConsole;
using Clock = std::chrono::steady_clock;

constexpr char kRoaming[] = "C:\\Users\\me\\AppData\\Roaming";
// Real programs' shortcuts among the 5,000: the names a fuzzy Tab finds.
constexpr const char* kRealNames[] = {
    "Visual Studio Code",
    "Mozilla Firefox",
    "Windows Terminal",
    "Notepad++",
    "Google Chrome",
    "Microsoft Edge",
    "VLC media player",
    "7-Zip File Manager",
    "Adobe Acrobat",
    "Microsoft Word",
    "Microsoft Excel",
    "Microsoft Outlook",
    "Git Bash",
    "Python 3.12",
    "Spotify",
    "Slack",
    "Discord",
    "OBS Studio",
    "KeePassXC",
    "PuTTY",
};

void Fill(SocketConsole& whole) {
    auto& fake = whole.fake;
    fake.environment.variables.push_back({"APPDATA", kRoaming});
    fake.environment.variables.push_back({"ProgramData", "C:\\ProgramData"});
    std::string history;
    for (int i = 0; i < 10000; ++i) {
        history += "echo history line " + std::to_string(i) + " of the benchmark\r\n";
    }
    fake.files.AddFolder(std::string(kRoaming) + "\\Orvane\\Vantrel");
    fake.files.AddFile(std::string(kRoaming) + "\\Orvane\\Vantrel\\History.txt", history);
    for (int i = 0; i < 20000; ++i) {
        fake.files.AddFile("C:\\Work\\file" + std::to_string(10000 + i) + ".txt", "");
    }
    const std::string menu = std::string(kRoaming) + "\\Microsoft\\Windows\\Start Menu\\Programs";
    fake.files.AddFolder(menu);
    for (const char* name : kRealNames) fake.files.AddFile(menu + "\\" + name + ".lnk", "");
    for (int i = 0; i < 5000 - static_cast<int>(std::size(kRealNames)); ++i) {
        fake.files.AddFile(menu + "\\Shortcut " + std::to_string(1000 + i) + ".lnk", "");
    }
    std::string path;
    for (int i = 0; i < 50; ++i) {
        const std::string folder = "C:\\Paths\\p" + std::to_string(10 + i);
        fake.files.AddFolder(folder);
        for (int k = 0; k < 20; ++k) {
            fake.files.AddFile(folder + "\\tool" + std::to_string(i * 100 + k) + ".exe", "");
        }
        path += folder + ";";
    }
    fake.environment.variables.push_back({"PATH", path});
}

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Types text a character at a time, 20 times over, and prints the time a
// keystroke takes to work out its suggestion.
void TypeOver(SocketConsole& whole, const std::string& text, const std::string& label) {
    double total = 0, slowest = 0;
    int strokes = 0;
    for (int round = 0; round < 20; ++round) {
        for (size_t n = 1; n <= text.size(); ++n) {
            whole.fake.bar.command = text.substr(0, n);
            whole.fake.bar.caret = -1;
            const auto start = Clock::now();
            whole.console.CommandTextChanged();
            const double ms = Milliseconds(start);
            total += ms;
            if (ms > slowest) slowest = ms;
            ++strokes;
        }
    }
    std::printf("%-40s %8.3f ms mean, %8.3f ms slowest (%d keystrokes)\n", label.c_str(),
                total / strokes, slowest, strokes);
}

void Keystrokes(SocketConsole& whole) {
    TypeOver(whole, "echo history line 1234 of the", "keystroke, suggestion from history");
    // A text no line begins with: the whole history is looked through, and
    // then the completion of its last word.
    double missTotal = 0;
    for (int i = 0; i < 100; ++i) {
        whole.fake.bar.command = "type nosuchfile" + std::to_string(i);
        const auto start = Clock::now();
        whole.console.CommandTextChanged();
        missTotal += Milliseconds(start);
    }
    std::printf("%-40s %8.3f ms mean\n", "keystroke, no line matches", missTotal / 100);
}

// Typing a first word that only a fuzzy match finds, or nothing does: the
// suggestion looks through the history and the candidates each time.
void FuzzyKeystrokes(SocketConsole& whole) {
    for (const char* word : {"firef", "qzxjw"}) {
        TypeOver(whole, word, std::string("keystroke, typing ") + word);
    }
}

// Ctrl+R: each typed character searches every line again, from the newest.
void Search(SocketConsole& whole) {
    double total = 0;
    int strokes = 0;
    for (int round = 0; round < 20; ++round) {
        whole.console.KeyDown(vantrel::kVkEscape, 0);
        whole.fake.bar.command = "";
        whole.console.KeyDown('R', vantrel::kModCtrl);
        for (const char* c : {"Ü", "b", "e", "r", "z", "w", "e", "r", "g"}) {
            const auto start = Clock::now();
            whole.console.CharTyped(c);
            total += Milliseconds(start);
            ++strokes;
        }
        whole.console.KeyDown(vantrel::kVkEscape, 0);
    }
    std::printf("%-40s %8.3f ms mean (%d characters)\n", "Ctrl+R, a text no line holds",
                total / strokes, strokes);
}

void Tabs(SocketConsole& whole) {
    const struct {
        const char* label;
        const char* typed;
    } cases[] = {
        {"Tab, one file among 20,000", "type file23456"},
        {"Tab, ten files among 20,000", "type file1234"},
        {"Tab, a command word", "keepou"},
        {"Tab, a program on PATH", "tool1219"},
        {"Tab, a Start-menu shortcut", "\"shortcut 4321"},
        {"Tab, a variable", "print outputk"},
        {"Tab, fuzzy: vsc", "vsc"},
        {"Tab, fuzzy: firef", "firef"},
        {"Tab, a first word nothing matches", "qzxjw"},
    };
    for (const auto& c : cases) {
        double total = 0, slowest = 0;
        const int tries = 20;
        for (int i = 0; i < tries; ++i) {
            whole.console.KeyDown(vantrel::kVkEscape, 0);
            whole.fake.bar.command = c.typed;
            whole.fake.bar.caret = -1;
            whole.console.CommandTextChanged();
            const auto start = Clock::now();
            whole.console.KeyDown(vantrel::kVkTab, 0);
            const double ms = Milliseconds(start);
            total += ms;
            if (ms > slowest) slowest = ms;
            whole.console.In().PendingOutput().clear();
        }
        std::printf("%-40s %8.3f ms mean, %8.3f ms slowest  -> %s\n", c.label, total / tries,
                    slowest, whole.fake.bar.command.c_str());
    }
}

}  // namespace

void BenchTyping() {
    SocketConsole whole;
    Fill(whole);
    const auto start = Clock::now();
    whole.console.StartUp("");
    std::printf("%-40s %8.3f ms\n", "start-up with 10,000 history lines", Milliseconds(start));
    // The program index is built on the timer once typing begins.
    whole.console.KeyDown('A', 0);
    const auto index = Clock::now();
    for (int tick = 0; tick < 10000; ++tick) whole.console.Tick();
    std::printf("%-40s %8.3f ms (10,000 ticks)\n", "building the program index",
                Milliseconds(index));
    Keystrokes(whole);
    FuzzyKeystrokes(whole);
    Search(whole);
    Tabs(whole);

    // A history file grown wild: a 10 MB line, then 200,000 more.
    SocketConsole huge;
    Fill(huge);
    std::string history(10 << 20, 'x');
    history += "\r\n";
    for (int i = 0; i < 200000; ++i) history += "echo old line " + std::to_string(i) + "\r\n";
    huge.fake.files.AddFile(std::string(kRoaming) + "\\Orvane\\Vantrel\\History.txt", history);
    const auto hugeStart = Clock::now();
    huge.console.StartUp("");
    std::printf("%-40s %8.3f ms\n", "start-up, 10 MB line and 200,000 more",
                Milliseconds(hugeStart));
    const auto rest = Clock::now();
    int ticks = 0;
    for (; ticks < 100000 && huge.fake.files.replaceCount == 0; ++ticks) huge.console.Tick();
    std::printf("%-40s %8.3f ms (%d ticks)\n", "  the rest read and the file rewritten",
                Milliseconds(rest), ticks);
}
