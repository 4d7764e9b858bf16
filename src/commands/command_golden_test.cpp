// Golden tests of the command language: every testdata/NAME.dcb runs as the
// console runs a batch file, on a whole console over in-memory services,
// and the output pane must then show testdata/NAME.out (line ends aside).
// Batch files in testdata/NAME/ are put in the shortcut folder first.
// VANTREL_GOLDEN_UPDATE=1 writes the .out files from the pane instead, to be
// read line by line before they are committed.
//
// Every case starts in this world, with the start-up defaults (echo and
// keep-output off; a clear leaves the pane's first line empty):
//   C:\Work, the current folder: ReadMe.txt, notes.txt (every kind of line
//     end and a NUL), one.log, two.log, locked.txt (read-only), secret.txt
//     (hidden), boot.sys (system), disk.img (5 GiB), Sub\inner.txt; all
//     modified 02/01/26 03:04:05
//   C:\Temp (TEMP), C:\Tools (on PATH) holding tool.dcb, D:\Data
//   the shortcut folder C:\ProgramData\Orvane\Vantrel\Shortcuts holding an
//     empty Autoexec.dcb; the case itself is C:\Cases\NAME.dcb
//   a 1280 by 720 screen, the clock at 12/6/2026 14:30:05
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

struct World {
    // With an injector, its count of service calls starts before start-up.
    explicit World(FaultInjector* faults = nullptr) {
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
        console.StartUp("");
    }

    // Runs the case as a batch file, then ticks until the pump is idle.
    std::string Run(const std::string& name) {
        const std::string path = "C:\\Cases\\" + name + ".dcb";
        files.AddFile(path, ReadHostFile(kTestData / (name + ".dcb")));
        if (fs::is_directory(kTestData / name)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(kTestData / name))
                files.AddFile(kShortcuts + "\\" + entry.path().filename().string(),
                              ReadHostFile(entry.path()));
        }
        std::string err;
        EXPECT_TRUE(RunBatch(console.In(), path, "", &err) || files.faults) << err;
        for (int i = 0; i < 1000 && !console.In().PendingOutput().empty(); ++i) console.Tick();
        EXPECT_EQ(console.In().PendingOutput(), "");
        return Normalised(pane.Text());
    }

    FakePlatform fake;
    FakeFileSystem& files = fake.files;
    FakeConsoleWindow window;
    FakePane pane;
    FakeTray tray;
    Console console{fake.platform, window, pane, tray, BuiltInCommands()};
};

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
