#include "line_editor/completion_sources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interpreter_fixture.h"
#include "platform/paths.h"
#include "text/case_fold.h"

namespace vantrel::testing {
namespace {

constexpr char kShortcuts[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";
constexpr char kUserMenu[] = "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
constexpr char kCommonMenu[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";

// The sources over a machine of programs, shortcuts, batch files, windows
// and processes, all in the fakes.
class CompletionSourcesTest : public InterpreterTest {
  protected:
    CompletionSourcesTest() {
        os.environment.variables.push_back({"PATHEXT", ".EXE;.BAT"});
        os.environment.variables.push_back({"APPDATA", "C:\\Users\\me\\AppData\\Roaming"});
        os.environment.variables.push_back({"ProgramData", "C:\\ProgramData"});
        os.environment.variables.push_back({"=C:", "C:\\"});
        for (const char* file : {"C:\\Windows\\notepad.exe", "C:\\Windows\\notes.txt",
                                 "C:\\Tools\\nodejs.BAT", "C:\\nowhere.dcb"}) {
            os.files.AddFile(file, "");
        }
        os.files.AddFolder(kShortcuts);
        for (const char* name : {"Nobatch.dcb", "no way.lnk", "news.url", "nothing.txt"}) {
            os.files.AddFile(JoinPath(kShortcuts, name), "");
        }
        os.registry.subKeys[{Registry::Root::kLocalMachine,
                             text::LowerCase(ProgramIndex::kAppPaths)}] = {"nirsoft.exe"};
        os.registry.subKeys[{Registry::Root::kCurrentUser,
                             text::LowerCase(ProgramIndex::kAppPaths)}] = {"nvim.exe"};
        os.files.AddFolder(std::string(kUserMenu) + "\\Programs\\Accessories");
        os.files.AddFolder(std::string(kUserMenu) + "\\Programs");
        os.files.AddFolder(kUserMenu);
        os.files.AddFile(std::string(kUserMenu) + "\\Programs\\Notable.lnk", "");
        os.files.AddFile(std::string(kUserMenu) + "\\Programs\\Accessories\\Notepad++.lnk", "");
        os.files.AddFolder(std::string(kCommonMenu) + "\\Programs");
        os.files.AddFile(std::string(kCommonMenu) + "\\Programs\\Nero.lnk", "");
    }

    CompletionRequest Parse(const std::string& line) {
        return ParseCompletion(line, line.size(), in.Markers(), in.Commands());
    }
    std::vector<Candidate> Gather(const std::string& line, bool remote = false) {
        return sources.Gather(Parse(line), remote).candidates;
    }
    std::vector<std::string> Names(const std::string& line, bool remote = false) {
        std::vector<std::string> names;
        for (const Candidate& c : Gather(line, remote)) names.push_back(c.name);
        return names;
    }

    RunCounts runs;
    CompletionSources sources{in, runs};
};

using Words = std::vector<std::string>;

TEST_F(CompletionSourcesTest, FirstWordsAreCommandsBatchFilesShortcutsProgramsOrOnlyCommands) {
    EXPECT_EQ(Names("n"), (Words{"name", "Nero", "news.url", "nirsoft.exe", "no way.lnk", "Nobatch",
                                 "nodejs.BAT", "Notable", "Notepad++", "notepad.exe", "now",
                                 "nowhere", "nvim.exe"}));
    // A Start-menu shortcut is opened by its whole path.
    std::vector<Candidate> nero = Gather("ner");
    ASSERT_EQ(nero.size(), 1u);
    EXPECT_EQ(nero[0].text, std::string(kCommonMenu) + "\\Programs\\Nero.lnk");
    EXPECT_EQ(Names("run nod"), (Words{"nodejs.BAT"}));
    // A linked console completes command words only.
    EXPECT_EQ(Names("n", true), (Words{"name", "now"}));
    EXPECT_EQ(Names("cd c:\\", true), Words{});
    EXPECT_EQ(Names("set Win", true), Words{});
}

TEST_F(CompletionSourcesTest, EachContextHasItsOwnCandidates) {
    os.files.AddFile("C:\\Work\\My File.txt", "");
    os.files.AddFile("C:\\Work\\mine", "");
    os.files.AddFolder("C:\\Work\\Music");
    os.files.AddFolder("D:\\");
    os.files.AddFile("C:\\readme.txt", "");
    os.files.AddFile(os.files.ProgramFolder() + "\\Colours.txt",
                     "# names\r\n\r\nred #FF0000\r\nRebeccaPurple #663399\r\nnoname\r\n");
    os.windows.windows = {
        {1, 10, "Untitled - Notepad"}, {2, 11, "Hidden thing", false}, {3, 12, ""}};
    os.processes.running = {"notepad.exe", "Explorer.EXE", "svchost"};
    in.RunCommand("let Winner = 1");
    const struct {
        const char* line;
        Words names;
    } cases[] = {
        {"type c:\\work\\m", {"mine", "Music", "My File.txt"}},
        {"cd ", {"C:", "D:", "nowhere.dcb", "readme.txt"}},
        {"editbatch n", {"Nobatch"}},
        {"set Win", {"Winner", "WinWidth", "WinX", "WinY"}},
        {"? 2*Winn", {"Winner"}},
        {"env p", {"PATH", "PATHEXT", "ProgramData"}},
        {"echo ¬pathe", {"PATHEXT"}},
        {"focus ", {"Explorer", "notepad", "svchost", "Untitled - Notepad"}},
        {"colour c", {"command"}},
        {"colour output b", {"bg", "busy"}},
        {"colour command busy t", {"text"}},
        {"colour command loading t", {"text"}},  // BUSY's other name
        {"colour command busy text re", {"RebeccaPurple", "red"}},
        {"colour output bg ", {"RebeccaPurple", "red"}},
        {"dock ", {"bottom", "off", "top"}},
        {"keepoutput o", {"off", "on"}},
        {"echo o", {"off", "on"}},
        {"listen o", {"off"}},
        {"ban x", {}},
        {"echo x rea", {}},  // ECHO's text is no name
        {"notepad rea", {"readme.txt"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Names(c.line), c.names) << c.line;
    std::vector<Candidate> folders = Gather("cd c:\\work\\mu");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_TRUE(folders[0].folder);
}

TEST_F(CompletionSourcesTest, ASlowFolderEndsTheLookupAtTheTimeBound) {
    for (int i = 0; i < 2000; ++i) os.files.AddFile("C:\\Big\\f" + std::to_string(i), "");
    EXPECT_EQ(Gather("type c:\\big\\").size(), 2000u);
    // Every reading of the clock now takes 20 ms: the lookup stops once
    // the budget is spent, with what it has found.
    os.clock.step = 20;
    const std::uint64_t start = os.clock.milliseconds;
    const size_t found = Gather("type c:\\big\\").size();
    EXPECT_GT(found, 0u);
    EXPECT_LT(found, 2000u);
    EXPECT_LE(os.clock.milliseconds - start, CompletionSources::kBudgetMs + 4 * os.clock.step);
    // The bound ends with the completion.
    EXPECT_TRUE(os.files.KeepGoing());
}

TEST_F(CompletionSourcesTest, TypingStartsTheIndexSoThatTabFindsItReady) {
    CompletionSources untyped{in, runs};
    sources.KeyTyped();
    for (int i = 0; i < 5; ++i) {
        sources.Tick();
        untyped.Tick();  // nothing is built before a key
    }
    os.clock.step = 100;  // from now on every bound has passed at once
    EXPECT_EQ(Names("note"), (Words{"Notepad++", "notepad.exe"}));
    EXPECT_TRUE(untyped.Gather(Parse("note"), false).candidates.empty());
}

TEST_F(CompletionSourcesTest, TheProgramIndexIsBuiltInSlicesAndKeptFresh) {
    std::string path;
    for (int i = 0; i < 12; ++i) {
        const std::string folder = "C:\\Bin" + std::to_string(i);
        os.files.AddFile(folder + "\\nx" + std::to_string(i) + ".exe", "");
        path += folder + ";";
    }
    os.environment.variables[3].second = path;  // PATH
    ASSERT_EQ(os.environment.variables[3].first, "PATH");
    os.clock.step = 3;
    const size_t first = Gather("nx").size();
    EXPECT_LT(first, 12u);
    size_t before = first;
    int ticks = 0;
    for (; ticks < 100 && Gather("nx").size() < 12; ++ticks) {
        sources.Tick();
        const size_t now = Gather("nx").size();
        EXPECT_GE(now, before);
        before = now;
    }
    EXPECT_GE(ticks, 1);
    EXPECT_EQ(Gather("nx").size(), 12u);

    // A program added later shows once the index is old and built afresh;
    // meanwhile the old one serves.
    os.files.AddFile("C:\\Bin0\\nxnew.exe", "");
    EXPECT_EQ(Gather("nx").size(), 12u);
    os.clock.milliseconds += ProgramIndex::kFreshMs;
    EXPECT_EQ(Gather("nx").size(), 12u);
    for (int i = 0; i < 100; ++i) sources.Tick();
    EXPECT_EQ(Gather("nx").size(), 13u);
}

}  // namespace
}  // namespace vantrel::testing
