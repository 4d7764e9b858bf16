// Golden tests of the command language: every testdata/NAME.dcb runs as the
// console runs a batch file, on a whole console over in-memory services,
// and the output pane, then the effects, must show testdata/NAME.out (line
// ends aside).
// Batch files in testdata/NAME/ are put in the shortcut folder first.
// VANTREL_GOLDEN_UPDATE=1 writes the .out files from the transcript instead, to be
// read line by line before they are committed.
//
// Every case starts in this world, with the start-up defaults (echo and
// keep-output off; a clear leaves the pane's first line empty):
//   C:\Work, the current folder: ReadMe.txt, notes.txt (every kind of line
//     end and a NUL), one.log, two.log, locked.txt (read-only), secret.txt
//     (hidden), boot.sys (system), disk.img (5 GiB), Sub\inner.txt; all
//     modified 2026-01-02 03:04:05
//   C:\Temp (TEMP), C:\Tools (on PATH) holding tool.dcb, D:\Data
//   the shortcut folder C:\ProgramData\Orvane\Vantrel\Shortcuts holding an
//     empty Autoexec.dcb; the case itself is C:\Cases\NAME.dcb
//   a 1280 by 720 screen, the mouse at 180, 600, the clock at 12/6/2026
//     14:30:05.500 (dates month first, times hh:mm:ss, numbers 1,234.50);
//     message boxes answer OK and input boxes Cancel
//   windows 11 "Untitled - Notepad" (pid 300), 12 "7zip File Manager" (7),
//     13 untitled (300), 14 "notes.txt - NOTEPAD" (123456), 15 "Calculator"
//     (42); the shell opens only the targets in kOpenable
// "@world WHAT [text]" changes that world from within a case (see WorldSetting).
// After the pane, "--- effects ---" lists what the case asked of the
// services, kind by kind in the order asked, when it asked anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "commands/command_table.h"
#include "console/console.h"
#include "fake_console.h"
#include "fake_platform.h"
#include "interpreter/launch.h"
#include "interpreter/line_text.h"
#include "platform/paths.h"
#include "text/compare.h"
#include "text/utf8.h"

namespace vantrel::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kTestData = fs::path(VANTREL_SOURCE_DIR) / "src" / "commands" / "testdata";
const std::string kShortcuts = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";

std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Without CRs and without the last line end.
std::string Normalised(std::string text) {
    std::erase(text, '\r');
    if (text.ends_with('\n')) text.pop_back();
    return text;
}

// The lines of a text, line ends aside.
std::set<std::string> Lines(const std::string& text) {
    std::set<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.insert(line);
    return out;
}

const std::set<std::string> kOpenable = {"c:\\program files\\app\\app.exe",
                                         "http://example.com/a b",
                                         "my tool",
                                         "notepad",
                                         "https://example.com/?q=a+b%26c",
                                         "c:\\work\\"};

struct World;
World* current = nullptr;  // the world that "@world" changes

// A text in an effect line: in brackets, its line ends spelt out.
std::string Q(const std::string& text) {
    return "[" + text::ReplaceAll(text::ReplaceAll(text, "\r", "\\r"), "\n", "\\n") + "]";
}

std::string Stroke(const KeyStroke& k) {
    std::string out =
        std::string(k.shift ? "shift+" : "") + (k.ctrl ? "ctrl+" : "") + (k.alt ? "alt+" : "");
    if (k.kind == KeyStroke::kVirtualKey) return out + "vk" + std::to_string(k.code);
    out += "'";
    text::utf8::Append(&out, static_cast<char32_t>(k.code));
    return out + "'";
}

struct World {
    // With an injector, its count of service calls starts before start-up.
    explicit World(FaultInjector* faults = nullptr) {
        current = this;
        if (faults) fake.InjectFault(*faults);
        fake.environment.variables = {{"ALLUSERSPROFILE", "C:\\ProgramData"},
                                      {"USERPROFILE", "C:\\Users\\me"},
                                      {"TEMP", "C:\\Temp"},
                                      {"PATH", "C:\\Windows;C:\\Tools"}};
        for (std::string folder :
             {"C:\\ProgramData", "C:\\ProgramData\\Orvane", "C:\\ProgramData\\Orvane\\Vantrel",
              "C:\\Temp", "C:\\Tools", "C:\\Work", "C:\\Work\\Sub", "D:\\", "D:\\Data"})
            files.AddFolder(folder);
        files.AddFolder(kShortcuts);
        files.current = "C:\\Work";
        for (auto [name, text] : {std::pair{"ReadMe.txt", "This is the work folder.\r\n"},
                                  {"one.log", "1\r\n"},
                                  {"two.log", "2\r\n"},
                                  {"locked.txt", "keep me\r\n"},
                                  {"secret.txt", "psst\r\n"},
                                  {"boot.sys", ""},
                                  {"disk.img", ""},
                                  {"Sub\\inner.txt", "inside Sub\r\n"},
                                  {"C:\\Tools\\tool.dcb", "echo tool.dcb from the PATH got [``]"}})
            files.AddFile(name, text);
        files.AddFile("notes.txt", std::string("one\r\n\r\nthree\rfour\nfi\0ve\r\n", 25));
        files.At("locked.txt").readOnly = true;
        files.At("secret.txt").hidden = true;
        files.At("boot.sys").system = true;
        files.At("disk.img").size = 5LL << 30;
        fake.input.cursorX = 180;
        fake.input.cursorY = 600;
        fake.clock.now.millisecond = 500;
        fake.windows.windows = {{11, 300, "Untitled - Notepad"},
                                {12, 7, "7zip File Manager"},
                                {13, 300, ""},
                                {14, 123456, "notes.txt - NOTEPAD"},
                                {15, 42, "Calculator"}};
        fake.shell.openable = kOpenable;
        console.StartUp("");
    }

    // Runs the case as a batch file, then ticks until the pump is idle.
    std::string Run(const std::string& name) {
        const std::string path = "C:\\Cases\\" + name + ".dcb";
        files.AddFile(path, ReadHostFile(kTestData / (name + ".dcb")));
        if (fs::is_directory(kTestData / name)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(kTestData / name))
                files.AddFile(JoinPath(kShortcuts, entry.path().filename().string()),
                              ReadHostFile(entry.path()));
        }
        const std::map<std::string, std::string> registry = fake.registry.values,
                                                 held = files.files;
        std::string err;
        EXPECT_TRUE(RunBatch(console.In(), path, "", &err) || files.faults) << err;
        for (int i = 0; i < 1000 && !console.In().PendingOutput().empty(); ++i) console.Tick();
        EXPECT_EQ(console.In().PendingOutput(), "");
        return Normalised(pane.Text()) + Effects(registry, held);
    }

    // What the case asked of the services, the devices it touched, and the
    // files it made and removed.
    std::string Effects(const std::map<std::string, std::string>& registry,
                        const std::map<std::string, std::string>& held) const {
        std::ostringstream out;
        for (const FakeShell::OpenCall& o : fake.shell.opens)
            out << "open " << Q(o.file) << ' ' << Q(o.params) << " style " << o.style << '\n';
        for (const FakeProcesses::StartCall& s : fake.processes.started)
            out << "start " << Q(s.commandLine) << " style " << s.style << '\n';
        for (const FakeProcesses::Batch& b : fake.processes.batches)
            out << "batch " << Q(b.path) << ' ' << Q(b.contents) << (b.stopped ? " stopped" : "")
                << '\n';
        for (WindowHandle h : fake.windows.raised) out << "raise " << h << '\n';
        for (WindowHandle h : fake.windows.closed) out << "close " << h << '\n';
        for (unsigned long pid : fake.windows.terminated) out << "terminate " << pid << '\n';
        for (const std::vector<KeyStroke>& keys : fake.input.sent) {
            out << "keys";
            for (const KeyStroke& k : keys) out << ' ' << Stroke(k);
            out << '\n';
        }
        for (auto [x, y] : fake.input.moves) out << "mouse " << x << ' ' << y << '\n';
        const char* buttons[] = {"left", "right", "middle"};
        for (MouseButton b : fake.input.clicks)
            out << "click " << buttons[static_cast<int>(b)] << '\n';
        for (const MsgBoxRequest& m : fake.dialogs.msgBoxes)
            out << "msgbox " << Q(m.prompt) << ' ' << Q(m.title) << " style " << m.style << '\n';
        for (const InputBoxRequest& r : fake.dialogs.inputBoxes) {
            out << "inputbox " << Q(r.prompt) << ' ' << Q(r.title) << ' ' << Q(r.defaultText);
            if (r.left) out << " left " << *r.left;
            if (r.top) out << " top " << *r.top;
            out << '\n';
        }
        for (const LocalTime& t : fake.clock.sets) {
            char text[64];
            std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month,
                          t.day, t.hour, t.minute, t.second, t.millisecond);
            out << "clock " << text << '\n';
        }
        for (const auto& [id, value] : fake.registry.values)
            if (!registry.count(id) || registry.at(id) != value)
                out << "registry " << Q(id) << " = " << Q(value) << '\n';
        for (const auto& [id, value] : registry)
            if (!fake.registry.values.count(id)) out << "registry " << Q(id) << " deleted\n";
        for (const std::string& path : files.deviceUses) out << "device " << Q(path) << '\n';
        for (const auto& [key, text] : files.files)
            if (!held.count(key)) out << "file made " << Q(key) << '\n';
        for (const auto& [key, text] : held)
            if (!files.files.count(key)) out << "file removed " << Q(key) << '\n';
        std::string lines = out.str();
        if (lines.empty()) return "";
        lines.pop_back();
        return "\n--- effects ---\n" + lines;
    }

    FakePlatform fake;
    FakeFileSystem& files = fake.files;
    FakeConsoleWindow window;
    FakePane pane;
    FakeTray tray;
    Console console{fake.platform, window, pane, tray, GoldenCommands()};

    static const CommandTable& GoldenCommands();
};

// "@world WHAT [text]": what a case changes in its world on the way. Each
// takes the rest of the line: env NAME [VALUE] (no value: unset), starterror,
// writeerror (empty: none), readonly PATH, typed TEXT and cancel (what input
// boxes answer), press N (what message boxes answer), refuse TEXT (registry),
// show PATH (prints the file's bytes, line ends spelt out), wine (the shell
// takes only what Wine's does), euro (numbers as 1.234,50 and "2,00 EUR"),
// dates dmy|ymd|mdy (dates written and read as 01/02/2026, 2026-02-01 or
// 2/1/2026); "# text" is a note on the case and changes nothing.
void WorldSetting(Interpreter& in, const Command& command) {
    FakePlatform& fake = current->fake;
    const std::string what = command.Arg(1);
    const std::string rest(TrimSpaces(std::string_view(command.args).substr(what.size())));
    if (what == "#") return;
    if (what == "env") {
        const std::string name = command.Arg(2);
        const std::string value(TrimSpaces(std::string_view(rest).substr(name.size())));
        std::erase_if(fake.environment.variables,
                      [&](const auto& v) { return text::EqualsNoCase(v.first, name); });
        if (!value.empty()) fake.environment.variables.push_back({name, value});
    } else if (what == "starterror") {
        fake.processes.startError = rest;
    } else if (what == "writeerror") {
        fake.files.writeError = rest;
    } else if (what == "readonly") {
        fake.files.At(rest).readOnly = true;
    } else if (what == "typed") {
        fake.dialogs.typed = rest;
    } else if (what == "cancel") {
        fake.dialogs.typed.reset();
    } else if (what == "press") {
        fake.dialogs.pressed = std::stoi(rest);
    } else if (what == "euro") {
        fake.clock.numbers.decimal = ",";
        fake.clock.numbers.grouping = ".";
        fake.clock.numbers.currency = "EUR";
        fake.clock.numbers.currencyPlacement = 3;
    } else if (what == "dates") {
        const std::map<std::string, text::DateOrder> orders = {
            {"mdy", text::DateOrder::kMonthDayYear},
            {"dmy", text::DateOrder::kDayMonthYear},
            {"ymd", text::DateOrder::kYearMonthDay}};
        ASSERT_TRUE(orders.count(rest)) << command.line;
        fake.clock.dateOrder = orders.at(rest);
    } else if (what == "wine") {
        fake.shell.limits = {259, 967, 248, 32766};  // Wine's shell takes less (win32_shell.cpp)
    } else if (what == "show") {
        in.PrintOut(Q(fake.files.Contents(rest)));
    } else if (what == "refuse") {
        fake.registry.refusal = rest;
    } else {
        ADD_FAILURE() << "no world setting " << command.line;
    }
}

const CommandTable& World::GoldenCommands() {
    static const CommandTable table = [] {
        CommandTable rows = BuiltInCommands();
        rows.insert(rows.begin(), CommandRow{.words = {"world"}, .handler = WorldSetting});
        return rows;
    }();
    return table;
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kTestData))
        if (entry.path().extension() == ".dcb") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CommandGolden : public ::testing::TestWithParam<std::string> {};

// A folder the build cannot find must not pass as no cases at all.
TEST(CommandGoldenCases, AreFound) {
    EXPECT_GE(CaseNames().size(), 10u);
}

TEST_P(CommandGolden, PaneShowsTheTranscript) {
    const fs::path expectedPath = kTestData / (GetParam() + ".out");
    const std::string shown = World().Run(GetParam());
    const char* update = std::getenv("VANTREL_GOLDEN_UPDATE");
    if (update && std::string(update) == "1") {
        std::ofstream(expectedPath, std::ios::binary) << shown << "\n";
        return;
    }
    const std::string expected = Normalised(ReadHostFile(expectedPath));
    if (shown != expected) {
        ADD_FAILURE() << GetParam() << ".out differs.\n--- expected ---\n"
                      << expected << "\n--- shown ---\n"
                      << shown;
    }
}

// Every service call the case makes, start-up's included, fails in turn.
// Whatever failed, the console ends the case and answers the next line; the
// files it keeps for good hold only whole lines that the file held at some
// time of a whole run; and no file is left cut short of what it held.
TEST_P(CommandGolden, AnyFailingServiceCallLeavesNoPartialFile) {
    FaultInjector counter;
    World reference(&counter);
    const std::map<std::string, std::string> before = reference.files.files;
    std::map<std::string, std::set<std::string>> held;  // every line a file held
    for (const auto& [key, text] : before) held[key] = Lines(text);
    reference.files.onWrite = [&](const std::string& key, const std::string& text) {
        held[key].merge(Lines(text));
    };
    reference.Run(GetParam());
    const std::map<std::string, std::string>& whole = reference.files.files;
    int failures = 0;
    auto fail = [&](const std::string& what) {
        ADD_FAILURE() << what;
        ++failures;
    };
    for (int n = 1; n <= counter.calls && failures < 5; ++n) {
        FaultInjector injector{n};
        World world(&injector);
        world.Run(GetParam());
        Interpreter& in = world.console.In();
        EXPECT_FALSE(in.Running()) << "call " << n;
        in.PendingOutput().clear();
        in.RunCommand("print 6*7");
        if (in.PendingOutput().find("42") == std::string::npos)
            fail("call " + std::to_string(n) + ": the next line gave " + in.PendingOutput());
        for (const auto& [key, text] : world.files.files) {
            auto old = before.find(key);
            auto ended = whole.find(key);
            if (old != before.end() && text.size() < old->second.size() &&
                old->second.compare(0, text.size(), text) == 0 &&
                (ended == whole.end() || ended->second != text))
                fail("call " + std::to_string(n) + " cut " + key + " short");
            if (!key.ends_with("\\ban.txt") && !key.ends_with("\\autoexec.dcb")) continue;
            for (const std::string& line : Lines(text))
                if (!held[key].count(line))
                    fail("call " + std::to_string(n) + " left " + key + " holding " + line);
        }
    }
    std::printf("%s: %d service calls, each failed in a run of its own\n", GetParam().c_str(),
                counter.calls);
}

INSTANTIATE_TEST_SUITE_P(Testdata, CommandGolden, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vantrel::testing
