// Runs every NAME.cases in src/console/testdata and src/line_editor/testdata:
// rows of the bar's and the line editor's pure functions, one a line,
// "VERB INPUT ¦ INPUT ... ¦ WHAT IT GIVES ...". Each field is trimmed and
// read with the test data's escapes (tests/escapes.h); <N*TEXT> stands for
// TEXT N times. The verbs and their fields are named in the files that use
// them. The history and tab-cycle rows of a file share one
// list, one search and one cycle, each fresh per file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "commands/command_table.h"
#include "commands/placement_commands.h"
#include "console/apply_settings.h"
#include "console/keyboard.h"
#include "console/output_pump.h"
#include "console/placement.h"
#include "escapes.h"
#include "fake_platform.h"
#include "interpreter/keystrokes.h"
#include "interpreter/line_secrets.h"
#include "line_editor/completion.h"
#include "line_editor/fuzzy_match.h"
#include "line_editor/history_file.h"
#include "line_editor/history_search.h"
#include "line_editor/run_counts.h"
#include "line_editor/tab_cycle.h"
#include "text/utf8.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using Fields = std::vector<std::string>;
using F = const Fields&;

const fs::path kSource = fs::path(VANTREL_SOURCE_DIR) / "src";
const LineMarkers kMarkers{"|", "`", "\xAC"};
const char* const kContexts[] = {"none",     "command-word", "target", "path",   "batch",
                                 "variable", "environment",  "window", "colour", "words"};
const char* const kStates[] = {"local",           "account-password", "connecting",
                               "remote-password", "remote-link",      "disconnecting",
                               "sending",         "awaiting-login",   "serving"};
const char* const kWinPos[] = {"store", "too-narrow", "report", "syntax"};
const char* const kQualities[] = {"prefix", "word-starts", "inner-word", "letters-in-order",
                                  "near-spelling"};

// "console/keystrokes" for src/console/testdata/keystrokes.cases.
std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const char* folder : {"console", "line_editor"}) {
        if (!fs::is_directory(kSource / folder / "testdata")) continue;
        for (const fs::directory_entry& entry :
             fs::directory_iterator(kSource / folder / "testdata"))
            if (entry.path().extension() == ".cases")
                names.push_back(folder + ("/" + entry.path().stem().string()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string Field(std::string text) {
    const size_t first = text.find_first_not_of(' ');
    text = first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') + 1 - first);
    std::smatch m;
    while (std::regex_search(text, m, std::regex("<([0-9]+)\\*([^>]*)>"))) {
        std::string repeated;
        for (int i = std::stoi(m[1]); i > 0; --i) repeated += m[2];
        text.replace(m.position(), m.length(), repeated);
    }
    return testing::Unescaped(text);
}

// The verb, then the fields: the first is what follows the verb.
std::pair<std::string, Fields> Split(const std::string& line) {
    const size_t blank = std::min(line.find(' '), line.size());
    Fields fields;
    size_t from = blank;
    for (size_t at; (at = line.find("¦", from)) != std::string::npos; from = at + 2)
        fields.push_back(Field(line.substr(from, at - from)));
    fields.push_back(Field(line.substr(from)));
    return {line.substr(0, blank), fields};
}

std::string Joined(F fields) {
    std::string out;
    for (const std::string& f : fields) out += (out.empty() ? "" : " ¦ ") + ("«" + f + "»");
    return out;
}
std::string YesNo(bool b) {
    return b ? "yes" : "no";
}
Fields One(std::string text) {
    return {std::move(text)};
}
template <typename... T>
Fields Numbers(T... numbers) {
    Fields out;
    for (double n : {double(numbers)...}) out.push_back((std::ostringstream() << n).str());
    return out;
}
// "left top width height"
Rect ToRect(const std::string& text) {
    Rect r;
    std::istringstream(text) >> r.left >> r.top >> r.width >> r.height;
    return r;
}
std::string Words(const Rect& r) {
    return (std::ostringstream() << r.left << " " << r.top << " " << r.width << " " << r.height)
        .str();
}
ConsoleState State(const std::string& name) {
    return ConsoleState(std::find(std::begin(kStates), std::end(kStates), name) - kStates);
}

Fields Parsed(F f) {
    const size_t caret = f[1] == "end" ? std::string::npos : std::stoul(f[1]);
    const CompletionRequest r = ParseCompletion(f[0], caret, kMarkers, BuiltInCommands());
    return {kContexts[int(r.context)], r.command, std::to_string(r.argIndex), r.lead, r.typed,
            std::to_string(r.start)};
}
Fields Completed(F f) {
    const CompletionRequest r =
        ParseCompletion(f[0], std::string::npos, kMarkers, BuiltInCommands());
    return One(CompletionText(r, {f[1], f[2], f[3] == "folder"}, f[4] == "finished"));
}
// Strokes as 'a' or vkNN after their modifiers; "rejected" for notation
// refused with a message and nothing sent.
Fields Strokes(F f) {
    std::vector<KeyStroke> keys{{KeyStroke::kCharacter, 'z'}};
    std::string err, out;
    if (!ParseKeystrokes(f[0], &keys, &err))
        return One(!err.empty() && keys.size() == 1 && keys[0].code == 'z' ? "rejected" : err);
    for (const KeyStroke& k : keys) {
        out += std::string(out.empty() ? "" : " ") + (k.shift ? "+" : "") + (k.ctrl ? "^" : "") +
               (k.alt ? "%" : "");
        char hex[8];
        std::snprintf(hex, sizeof hex, "vk%02X", k.code);
        std::string character;
        text::utf8::Append(&character, char32_t(k.code));
        out += k.kind == KeyStroke::kVirtualKey ? hex : "'" + character + "'";
    }
    return One(out);
}
Fields Layout(F f) {
    const BarInputs in{State(f[0]), f[1] == "yes", std::stoi(f[2]), std::stoi(f[3])};
    const BarLayout out = LayOutBar(in, MetricsForDpi(std::stoi(f[4])));
    return Numbers(out.promptWidth, out.commandLeft, out.commandWidth, out.enterLeft);
}
Fields Dragged(F f) {
    auto has = [&](char c) { return f[2].find(c) != std::string::npos; };
    const DragKeys keys{.left = has('L'),
                        .right = has('R'),
                        .middle = has('M'),
                        .shift = has('S'),
                        .ctrl = has('C')};
    const DragResult r =
        DragStep(std::stoi(f[0]), std::stoi(f[1]), 100, 100, keys, f[3] == "floating",
                 std::stod(f[4]), std::stod(f[5]), std::stod(f[6]));
    Fields out{YesNo(r.moved), YesNo(r.resized)};
    for (const std::string& n : Numbers(r.winX, r.winY, r.winWidth)) out.push_back(n);
    return out;
}
Fields Planned(F f) {
    const Rect bar{0, 0, std::stoi(f[2]), 17};
    const PaneView view = PlanPane(f[0], f[1], bar, {{0, 0, 4000, 3000}, true, std::stoi(f[5])},
                                   {.maxMem = std::stod(f[3]), .maxSize = std::stod(f[4])});
    return {view.text, std::to_string(view.bounds.height), std::to_string(view.dpi)};
}
Fields Matched(F f) {
    const std::optional<NameMatch> m = MatchName(f[0], f[1]);
    if (!m) return One("none");
    return {kQualities[int(m->quality)], std::to_string(m->spread)};
}
Fields Pane(F f) {
    const Monitor monitor{ToRect(f[2]), f[3] == "primary", std::stoi(f[4])};
    return One(Words(PaneBounds(ToRect(f[0]), std::stoi(f[1]), monitor)));
}

class BarCases : public ::testing::TestWithParam<std::string> {
  protected:
    Fields Shown() { return {search.Shown(), search.Prompt()}; }
    // The box with its caret shown as "_", after a Tab or Shift+Tab.
    std::string Box() const {
        const size_t caret = static_cast<size_t>(bar.CommandCaret());
        return bar.command.substr(0, caret) + "_" + bar.command.substr(caret);
    }
    // As the sources gather: the names that begin with what was typed, or
    // else the fuzzy matches, each ranked by the weights of "ran".
    Fields Tab(bool backwards) {
        cycle.Tab(
            backwards, kMarkers, BuiltInCommands(),
            [&](const CompletionRequest& r) {
                ++gathered;
                Gathered found{RankCandidates(candidates, r.typed, Weight()), false};
                if (found.candidates.empty()) {
                    found.candidates = RankFuzzy(candidates, r.typed, Weight(), 100);
                    found.fuzzy = true;
                }
                return found;
            },
            [&](const std::vector<std::string>& lines) { listed.push_back(lines); });
        return One(Box());
    }
    UseWeight Weight() const {
        return [this](const Candidate& c) {
            const auto found = weights.find(c.name);
            return found == weights.end() ? 0.0 : found->second;
        };
    }
    Fields Ranked(F f) {
        Fields names;
        for (const Candidate& c : RankFuzzy(candidates, f[0], Weight(), std::stoul(f[1])))
            names.push_back(c.name);
        return names;
    }
    Fields Lists() {
        Fields out = Numbers(listed.size());
        if (!listed.empty()) out.insert(out.end(), listed.back().begin(), listed.back().end());
        listed.clear();
        return out;
    }

    HistoryLines lines;
    HistorySearch search;
    testing::FakeBar bar;
    TabCycle cycle{bar};
    std::vector<Candidate> candidates;
    std::map<std::string, double> weights;
    std::vector<std::vector<std::string>> listed;
    int gathered = 0;
    // Each verb: how many of a row's fields it reads (kAll: every one), and what it gives.
    static constexpr size_t kAll = ~size_t{0};
    // clang-format off
    const std::map<std::string, std::pair<size_t, std::function<Fields(F)>>> verbs_ = {
        {"parse", {2, Parsed}},
        {"text", {5, Completed}},
        {"mask", {2, [](F f) {
            return One(MaskSecrets(f[0], {f[1], "`", ""}, BuiltInCommands())); }}},
        {"private", {1, [](F f) { return One(YesNo(KeptPrivate(f[0]))); }}},
        {"marker", {1, [](F f) { return One(YesNo(WordFromMarker(f[0], {"|", "`", "¬"}))); }}},
        {"lines", {kAll, [this](F f) { lines.Assign(f); return Fields{}; }}},
        {"suggest", {1, [this](F f) { return One(std::string(lines.SuggestionFor(f[0]))); }}},
        {"find", {2, [this](F f) {
            return One(std::to_string(lines.FindOlder(f[0], std::stoi(f[1])))); }}},
        {"start", {1, [this](F f) { search.Start(lines, f[0]); return Shown(); }}},
        {"type", {1, [this](F f) { search.Type(lines, f[0]); return Shown(); }}},
        {"older", {0, [this](F) { search.Older(lines); return Shown(); }}},
        {"back", {0, [this](F) { search.Back(lines); return Shown(); }}},
        {"end", {0, [this](F) { search.End(); return Fields{}; }}},
        {"active", {0, [this](F) { return One(YesNo(search.Active())); }}},
        {"keys", {1, Strokes}},
        {"chord", {1, [](F f) {
            KeyChord chord{1, 1};
            std::string err;
            if (!ParseKeyChord(f[0], &chord, &err)) return One(chord.key == 0 ? err : "kept");
            char text[16];
            std::snprintf(text, sizeof text, "vk%02X %d", chord.key, chord.modifiers);
            return One(text); }}},
        {"fkey", {3, [](F f) {
            return One(FunctionKeyVariable(State(f[0]), std::stoi(f[1]), std::stoi(f[2]))); }}},
        {"layout", {5, Layout}},
        {"floating", {4, [](F f) {
            return One(Words(FloatingBounds(std::stod(f[0]), std::stod(f[1]), std::stod(f[2]),
                                            MetricsForDpi(std::stoi(f[3]))))); }}},
        {"winpos", {4, [](F f) { return One(kWinPos[int(CheckWinPos(f[0], f[1], f[2], f[3]))]); }}},
        {"drag", {7, Dragged}},
        {"break", {2, [](F f) { return One(BreakPaneLines(f[0], std::stoi(f[1]))); }}},
        {"pane", {5, Pane}},
        {"plan", {6, Planned}},
        {"candidates", {kAll, [this](F f) {
            candidates.clear();
            weights.clear();
            for (const std::string& n : f)
                candidates.push_back(
                    {n.substr(0, n.find_last_not_of('\\') + 1), "", n.ends_with('\\')});
            return Fields{}; }}},
        {"ran", {2, [this](F f) { weights[f[0]] = std::stod(f[1]); return Fields{}; }}},
        {"match", {2, Matched}},
        {"rank", {2, [this](F f) { return Ranked(f); }}},
        {"run-key", {1, [](F f) { return One(RunCounts::KeyOf(f[0])); }}},
        {"box", {2, [this](F f) {
            bar.SetCommandText(f[0]);
            if (f[1] != "end") bar.SelectCommandText(std::stoi(f[1]), 0);
            return Fields{}; }}},
        {"command", {1, [this](F f) { bar.command = f[0]; return Fields{}; }}},
        {"caret", {1, [this](F f) { bar.SelectCommandText(std::stoi(f[0]), 0); return Fields{}; }}},
        {"tab", {0, [this](F) { return Tab(false); }}},
        {"shift-tab", {0, [this](F) { return Tab(true); }}},
        {"esc", {0, [this](F) {
            const bool taken = cycle.Escape();
            return Fields{YesNo(taken), Box()}; }}},
        {"end-cycle", {0, [this](F) { cycle.End(); return Fields{}; }}},
        {"lists", {0, [this](F) { return Lists(); }}},
        {"gathered", {0, [this](F) { return Numbers(std::exchange(gathered, 0)); }}},
        {"forget", {0, [this](F) { listed.clear(); gathered = 0; return Fields{}; }}},
    };
    // clang-format on
};

// A folder the build cannot find must not pass as no cases at all.
TEST(BarCasesFiles, AreFound) {
    EXPECT_GE(CaseNames().size(), 8u);
}

TEST_P(BarCases, EveryRowGivesWhatItExpects) {
    const std::string name = GetParam() + ".cases";
    const fs::path path = fs::path(GetParam());
    std::ifstream file(kSource / path.parent_path() / "testdata" / (path.filename() += ".cases"),
                       std::ios::binary);
    std::string line;
    int number = 0, rows = 0;
    while (std::getline(file, line)) {
        const std::string here = name + ":" + std::to_string(++number);
        if (line.empty() || line.starts_with("#")) continue;
        auto [verb, fields] = Split(line);
        ASSERT_TRUE(verbs_.count(verb)) << here << ": no such verb: " << verb;
        const auto& [inputs, run] = verbs_.at(verb);
        // A verb without inputs has no text before its first "¦".
        if (inputs == 0) {
            ASSERT_EQ(fields.front(), "") << here << ": " << verb << " takes no input";
            fields.erase(fields.begin());
        }
        const size_t taken = std::min(inputs, fields.size());
        ASSERT_TRUE(taken == inputs || inputs == kAll) << here << ": too few fields";
        const Fields given(fields.begin(), fields.begin() + long(taken));
        const Fields want(fields.begin() + long(taken), fields.end());
        EXPECT_EQ(Joined(run(given)), Joined(want)) << here << ": " << line;
        ++rows;
    }
    EXPECT_GT(rows, 0) << name << " is missing or empty";
}

INSTANTIATE_TEST_SUITE_P(Testdata, BarCases, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '/', '_');
                             return name;
                         });

}  // namespace
}  // namespace vantrel
