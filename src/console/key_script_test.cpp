// Runs every testdata/NAME.keys: what the user does at the bar, one step a
// line, and what the bar, the window, the pane and the files show after it.
// Every case starts on RemoteTest's machine, with APPDATA set. Steps:
//   box|edit|type|run|pending TEXT: the box set (edit: with its change
//     event; type: and Enter), a line run, the output waiting for the pane
//   down|up KEY taken|passed [TIMES]: a key such as Ctrl+R, Shift+Tab, F5
//   startup [LINE]: with the line given on the command line
//   chars taken|passed TEXT, caret N, select START LENGTH, tick [TIMES],
//   clock-step MS
//   drag X Y none|both|shift, tray MESSAGE, choose ITEM (the menu's answer)
//   monitors [DPI]: the primary, and a second right of it at DPI
//   reach STATE; history|runs|autoexec TEXT: the file an earlier start left
//   shortcut NAME: NAME.lnk in the user's Start menu, which the shell opens
//   receive TEXT: from the peer; at-pump N LINE: a step or an expect line
//     done once at the Nth pump of the steps that follow
//   hand-over taken|refused TEXT: a second start's argument (N×C: the
//     character C N times); folder PATH; file PATH ¦ TEXT, which the shell opens
//   and the events_ below, which take no argument
// then what the step printed, a "> LINE" each (none: nothing; a tick shows
// it in the pane instead), and "expect PROBE TEXT" lines, probes_ below
// or =EXPRESSION for a script expression's value.
// Texts, the printed lines too, are read with the test data's escapes
// (tests/escapes.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "escapes.h"
#include "platform/key_codes.h"
#include "platform/paths.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kTestData = fs::path(VANTREL_SOURCE_DIR) / "src" / "console" / "testdata";
constexpr char kRoaming[] = "C:\\Users\\me\\AppData\\Roaming";
constexpr char kAutoexec[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\Autoexec.dcb";
constexpr char kHistory[] = "C:\\Users\\me\\AppData\\Roaming\\Orvane\\Vantrel\\History.txt";
constexpr char kRuns[] = "C:\\Users\\me\\AppData\\Roaming\\Orvane\\Vantrel\\Runs.txt";
constexpr char kStartMenu[] =
    "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";

// clang-format off
const std::map<std::string, ConsoleState> kStates = {
    {"local", kLocal}, {"account-password", kAccountPassword}, {"connecting", kConnecting},
    {"remote-password", kRemotePassword}, {"remote-link", kRemoteLink},
    {"disconnecting", kDisconnecting}, {"sending", kSending}, {"awaiting-login", kAwaitingLogin},
    {"serving", kServing}};
const char* const kDocks[] = {"top", "bottom", "floating"};
const std::map<std::string, TrayMenuItem> kItems = {
    {"none", TrayMenuItem::kNone}, {"show-hide", TrayMenuItem::kShowHide},
    {"undock", TrayMenuItem::kUndock}, {"save-pos", TrayMenuItem::kSavePos},
    {"autoexec", TrayMenuItem::kAutoexec}, {"exit", TrayMenuItem::kExit}};
const std::map<std::string, DragKeys> kDrags = {
    {"none", {}}, {"both", {true, true}}, {"shift", {.left = true, .right = true, .shift = true}}};
// clang-format on

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    if (!fs::is_directory(kTestData)) return names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kTestData))
        if (entry.path().extension() == ".keys") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Words(std::initializer_list<long long> numbers) {
    std::ostringstream out;
    for (long long n : numbers) out << (out.tellp() > 0 ? " " : "") << n;
    return out.str();
}
std::string Words(const Rect& r) {
    return Words({r.left, r.top, r.width, r.height});
}

// "Ctrl+Shift+R" as a key code and its modifiers; -1 for no such key.
std::pair<int, int> ParseKey(std::string name) {
    static const std::map<std::string, int> kKeys = {
        {"Back", kVkBack},    {"Tab", kVkTab},    {"Enter", kVkReturn}, {"Shift", kVkShift},
        {"Ctrl", kVkControl}, {"Esc", kVkEscape}, {"End", kVkEnd},      {"Home", kVkHome},
        {"Left", kVkLeft},    {"Up", kVkUp},      {"Right", kVkRight},  {"Down", kVkDown},
        {"F1", kVkF1},        {"F5", kVkF1 + 4},  {"F10", kVkF10},      {"Break", kVkCancel},
        {"Del", kVkDelete}};
    int modifiers = 0;
    for (auto [prefix, bit] :
         {std::pair{"Shift+", kModShift}, {"Ctrl+", kModCtrl}, {"Alt+", kModAlt}}) {
        if (name.starts_with(prefix)) {
            name.erase(0, std::string(prefix).size());
            modifiers |= bit;
        }
    }
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return {name[0], modifiers};
    auto key = kKeys.find(name);
    return {key == kKeys.end() ? -1 : key->second, modifiers};
}

class KeyScript : public RemoteTest, public ::testing::WithParamInterface<std::string> {
  protected:
    KeyScript() { SeedLinkKey(fake); }

    static std::string Colours(const BoxColours& c) {
        return Words({c.promptText, c.promptBg, c.commandText, c.commandBg});
    }
    static std::string YesNo(bool b) { return b ? "yes" : "no"; }
    std::string StateName() {
        for (const auto& [name, s] : kStates)
            if (s == state()) return name;
        return "other";
    }
    std::string Menus() {
        std::string out;
        for (const TrayMenuChecks& m : tray.menus)
            out += (m.visible ? "[visible " : "[hidden ") + std::string(kDocks[int(m.dock)]) + "]";
        return out;
    }
    std::string Searched() {
        const auto& lines = console.Editor().Remembered().Lines().Lines();
        return lines.empty() ? "" : lines.back();
    }
    // What an expect line reads.
    const std::map<std::string, std::function<std::string()>> probes_ = {
        {"box", [this] { return fake.bar.command; }},
        {"caret", [this] { return std::to_string(fake.bar.CommandCaret()); }},
        {"selection",
         [this] {
             return Words({fake.bar.selectionStart, fake.bar.selectionLength});
         }},
        {"suggestion", [this] { return fake.bar.suggestion; }},
        {"prompt", [this] { return fake.bar.prompt; }},
        {"password-char", [this] { return std::string(fake.bar.passwordChar != 0, '*'); }},
        {"state", [this] { return StateName(); }},
        {"searching", [this] { return YesNo(console.Editor().Searching()); }},
        {"searched", [this] { return Searched(); }},
        {"newest", [this] { return console.Editor().Remembered().Browsed().Entry(0); }},
        {"pane", [this] { return pane.Text(); }},
        {"pane-open", [this] { return YesNo(pane.open); }},
        {"pane-colours",
         [this] {
             return Words({pane.view.textColour, pane.view.bgColour});
         }},
        {"pane-bounds", [this] { return Words(pane.view.bounds); }},
        {"pane-dpi", [this] { return std::to_string(pane.view.dpi); }},
        {"history", [this] { return fake.files.Contents(kHistory); }},
        {"runs", [this] { return fake.files.Contents(kRuns); }},
        {"autoexec", [this] { return fake.files.Contents(kAutoexec); }},
        {"account-password", [this] { return console.Account().pass; }},
        {"keys-sent", [this] { return std::to_string(fake.input.sent.size()); }},
        {"pending", [this] { return in().PendingOutput(); }},
        {"bounds", [this] { return Words(window.bounds); }},
        {"appbar", [this] { return window.appBar ? kDocks[int(*window.appBar)] : "none"; }},
        {"docking", [this] { return kDocks[int(console.Placement().Docking())]; }},
        {"enter-left", [this] { return std::to_string(window.layout.enterLeft); }},
        {"colours", [this] { return Colours(fake.bar.colours.back()); }},
        {"first-colours", [this] { return Colours(fake.bar.colours.front()); }},
        {"locks", [this] { return std::to_string(fake.bar.lockCount); }},
        {"locked", [this] { return YesNo(fake.bar.locked); }},
        {"prompt-width", [this] { return std::to_string(window.layout.promptWidth); }},
        {"visible", [this] { return YesNo(window.visible); }},
        {"topmost", [this] { return YesNo(window.topmost); }},
        {"shows", [this] { return std::to_string(window.showCount); }},
        {"foreground", [this] { return YesNo(window.IsForeground()); }},
        {"focus-returns", [this] { return std::to_string(window.focusReturns); }},
        {"summon-key",
         [this] {
             return Words({window.summonKey.key, window.summonKey.modifiers});
         }},
        {"ended", [this] { return YesNo(window.ended); }},
        {"tray", [this] { return YesNo(tray.added); }},
        {"menus", [this] { return Menus(); }},
        {"started", [this] { return std::to_string(fake.processes.started.size()); }},
        {"current", [this] { return fake.files.CurrentDirectory(); }},
        {"sent", [this] { return socket.TakeSent(); }},
        {"opened",
         [this] {
             std::string out;
             for (const auto& open : fake.shell.opens) out += open.file + "|";
             return out;
         }},
    };
    // The steps without an argument.
    const std::map<std::string, std::function<void()>> events_ = {
        {"changed", [this] { console.CommandTextChanged(); }},
        {"enter", [this] { console.EnterClicked(); }},
        {"esc-clicked", [this] { console.EscClicked(); }},
        {"knock", [this] { socket.Knock("10.1.2.3"); }},
        {"send-complete", [this] { socket.events->OnSendComplete(); }},
        {"focus-key", [this] { fake.input.down.insert(0xA3); }},
        {"focus-key-up", [this] { fake.input.down.erase(0xA3); }},
        {"summon", [this] { console.SummonKeyPressed(); }},
        {"other-program", [this] { window.foreground = false; }},
        {"focus-left", [this] { console.FocusLeft(); }},
        {"scale-changed", [this] { console.ScaleChanged(); }},
        {"taskbar-created", [this] { console.TaskbarCreated(); }},
        {"tray-lost", [this] { tray.added = false; }},
        {"open-pane", [this] { pane.open = true; }},
        {"bar-sees-pane", [this] { fake.bar.paneHasText = pane.open; }},
        {"long-batch",
         [this] {
             std::string lines;
             for (int i = 1; i <= 50; ++i) lines += "set line" + std::to_string(i) + "=done\r\n";
             fake.files.AddFile("C:\\Work\\long.dcb", lines);
         }},
        {"hide", [this] { console.Placement().HideWin(); }},
        {"forget-menus", [this] { tray.menus.clear(); }},
        {"forget-colours",
         [this] {
             fake.bar.colours.clear();
             fake.bar.lockCount = 0;
         }},
    };

    void Expect(const std::string& rest, const std::string& here) {
        const std::string probe = rest.substr(0, rest.find(' '));
        const std::string want =
            Unescaped(probe.size() < rest.size() ? rest.substr(probe.size() + 1) : "");
        if (probe.starts_with("=")) {
            EXPECT_EQ(in().EvaluateText(probe.substr(1)), want) << here << ": " << probe;
            return;
        }
        ASSERT_TRUE(probes_.count(probe)) << here << ": no such probe: " << probe;
        EXPECT_EQ(probes_.at(probe)(), want) << here << ": " << probe;
    }
    // The steps and checks waiting for a pump, each done once.
    std::vector<std::pair<int, std::string>> atPump_;
    void Pumped() {
        for (auto& [pump, line] : atPump_) {
            if (pump != window.pumps) continue;
            pump = -1;
            const size_t blank = line.find(' ');
            const std::string verb = line.substr(0, blank);
            const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
            if (verb == "expect")
                Expect(rest, "at pump: " + line);
            else
                EXPECT_TRUE(Step(verb, rest)) << "at pump: cannot read: " << line;
        }
    }

    // Does one step; false for a line it cannot read.
    bool Step(const std::string& verb, const std::string& rest) {
        std::vector<std::string> w;
        std::istringstream words(rest);
        for (std::string word; words >> word;) w.push_back(word);
        w.resize(std::max<size_t>(w.size(), 3));
        const std::string text = Unescaped(rest);
        auto [key, modifiers] = ParseKey(w[0]);
        if (verb == "box" || verb == "edit") {
            fake.bar.SetCommandText(text);
            if (verb == "edit") console.CommandTextChanged();
        } else if (verb == "type") {
            Type(text);
        } else if (verb == "startup") {
            console.StartUp(text);
        } else if (verb == "run") {
            in().RunCommand(text);
        } else if (verb == "receive") {
            socket.Receive(text);
        } else if (verb == "at-pump" && !w[1].empty()) {
            std::erase_if(atPump_, [](const auto& p) { return p.first < 0; });
            if (atPump_.empty()) window.pumps = 0;
            atPump_.push_back({std::stoi(w[0]), rest.substr(w[0].size() + 1)});
            window.onPump = [this] { Pumped(); };
        } else if (verb == "pending") {
            in().PendingOutput() = text;
        } else if (verb == "clock-step") {
            fake.clock.step = std::stoi(rest);
        } else if (verb == "tick") {
            for (int i = rest.empty() ? 1 : std::stoi(rest); i > 0; --i) console.Tick();
        } else if (verb == "pointer" && !w[1].empty()) {
            fake.input.SetCursorPos(std::stoi(w[0]), std::stoi(w[1]));
        } else if (verb == "take-chord" && !w[1].empty()) {
            window.takenChord = KeyChord{std::stoi(w[0]), std::stoi(w[1])};
        } else if (verb == "caret") {
            fake.bar.caret = std::stoi(rest);
        } else if (verb == "select" && !w[1].empty()) {
            fake.bar.SelectCommandText(std::stoi(w[0]), std::stoi(w[1]));
        } else if (verb == "tray") {
            console.TrayMouseMessage(std::stoi(rest));
        } else if (verb == "reach" && kStates.count(rest)) {
            Reach(kStates.at(rest));
        } else if (verb == "choose" && kItems.count(rest)) {
            tray.choice = kItems.at(rest);
        } else if (verb == "drag" && kDrags.count(w[2])) {
            console.MouseMove(std::stoi(w[0]), std::stoi(w[1]), kDrags.at(w[2]));
        } else if (verb == "monitors") {
            window.monitors = {Monitor{{0, 0, 1280, 720}, true, kStandardDpi}};
            if (!rest.empty())
                window.monitors.push_back({{1280, -200, 1920, 1080}, false, std::stoi(rest)});
        } else if (verb == "history" || verb == "runs" || verb == "autoexec") {
            const std::string folder =
                verb == "autoexec" ? "C:\\ProgramData\\Orvane" : std::string(kRoaming) + "\\Orvane";
            for (const char* sub : {"", "\\Vantrel", "\\Vantrel\\Shortcuts"})
                fake.files.AddFolder(folder + sub);
            fake.files.AddFile(verb == "history" ? kHistory
                               : verb == "runs"  ? kRuns
                                                 : kAutoexec,
                               text);
        } else if (verb == "shortcut") {
            const std::string path = JoinPath(kStartMenu, text + ".lnk");
            for (const char* sub :
                 {"\\Microsoft", "\\Microsoft\\Windows", "\\Microsoft\\Windows\\Start Menu",
                  "\\Microsoft\\Windows\\Start Menu\\Programs"})
                fake.files.AddFolder(kRoaming + std::string(sub));
            fake.files.AddFile(path, "");
            fake.shell.openable.insert(text::LowerCase(path));
        } else if (verb == "hand-over" && (w[0] == "taken" || w[0] == "refused")) {
            std::string line = Unescaped(rest.substr(w[0].size() + 1));
            const size_t x = line.find("×");
            if (x > 0 && x != line.npos && line.find_first_not_of("0123456789") == x)
                line = std::string(std::stoul(line), line.back());
            EXPECT_EQ(console.HandOver(line), w[0] == "taken");
        } else if (verb == "folder") {
            fake.files.AddFolder(text);
        } else if (const size_t cut = rest.find(" ¦ "); verb == "file" && cut != rest.npos) {
            const std::string path = Unescaped(rest.substr(0, cut));
            fake.files.AddFile(path, Unescaped(rest.substr(cut + std::string(" ¦ ").size())));
            fake.shell.openable.insert(text::LowerCase(path));
        } else if (verb == "chars" && (w[0] == "taken" || w[0] == "passed")) {
            for (char c : Unescaped(rest.substr(w[0].size() + 1)))
                EXPECT_EQ(console.CharTyped(std::string(1, c)), w[0] == "taken") << c;
        } else if ((verb == "down" || verb == "up") && key >= 0 &&
                   (w[1] == "taken" || w[1] == "passed")) {
            // a key pressed again and again
            for (int i = 0; i < (w[2].empty() ? 1 : std::stoi(w[2])); ++i) {
                const bool taken = verb == "down" ? console.KeyDown(key, modifiers)
                                                  : console.KeyUp(key, modifiers);
                EXPECT_EQ(taken, w[1] == "taken") << "press " << i + 1;
            }
        } else if (rest.empty() && events_.count(verb)) {
            events_.at(verb)();
        } else {
            return false;
        }
        return true;
    }
};

// A folder the build cannot find must not pass as no cases at all.
TEST(KeyScriptCases, AreFound) {
    EXPECT_GE(CaseNames().size(), 5u);
}

TEST_P(KeyScript, EveryStepShowsWhatTheScriptExpects) {
    const std::string name = GetParam() + ".keys";
    std::ifstream file(kTestData / name, std::ios::binary);
    std::string line, where, printed;
    int number = 0, outputLines = 0;
    // What the steps since the last check printed against their > lines.
    auto settle = [&] {
        EXPECT_EQ(Printed(), printed) << where << ": what it printed";
        printed.clear();
        outputLines = 0;
    };
    while (std::getline(file, line)) {
        const std::string here = name + ":" + std::to_string(++number);
        if (line.empty() || line.starts_with("#")) continue;
        if (line == ">" || line.starts_with("> ")) {
            printed += (outputLines++ ? "\n" : "") +
                       Unescaped(line.substr(std::min<size_t>(2, line.size())));
            continue;
        }
        const size_t blank = line.find(' ');
        const std::string verb = line.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (verb == "expect") {
            Expect(rest, here);
            continue;
        }
        if (verb != "tick") settle();  // a tick shows the output in the pane
        where = here + " (" + line + ")";
        SCOPED_TRACE(where);
        ASSERT_TRUE(Step(verb, rest)) << here << ": cannot read: " << line;
    }
    settle();
    EXPECT_GT(number, 0) << name << " is missing or empty";
}

INSTANTIATE_TEST_SUITE_P(Testdata, KeyScript, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vantrel::testing
