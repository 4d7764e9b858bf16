// Names of any length and any bytes, through every command that hands a
// name on: each answers with its usual line, and nothing reaches the shell
// that the shell cannot take. What still fits, and reaches it, is in fits.dcb.
#include <algorithm>
#include <string>
#include <vector>

#include "interpreter/launch.h"
#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

// Wine's shell takes shorter addresses than Windows' (see win32_shell.cpp).
const ShellLimits kWindows;
const ShellLimits kWine{259, 967, 248, 32766};

// Long runs of one letter, and runs of every byte a line can carry: all but
// the line ends, the command separator and the two markers.
std::vector<std::string> OddNames() {
    std::vector<std::string> names;
    for (size_t length : {300, 1000, 2000, 5000, 40000, 300000})
        names.push_back(std::string(length, 'a'));
    std::string control = "x", high = "x";
    for (int c = 1; c < 0x20; ++c)
        if (c != '\r' && c != '\n') control += static_cast<char>(c);
    for (int c = 0x7f; c <= 0xff; ++c)
        if (c != 0xac) high += static_cast<char>(c);
    names.insert(names.end(), {control, high, "x\"*?<>", "x\"", "x" + std::string(1000, '"')});
    return names;
}

std::string Fill(std::string line, const std::string& name) {
    return line.replace(line.find("%s"), 2, name);
}

class LongNamesTest : public InterpreterTest {
  protected:
    LongNamesTest() {
        os.files.AddFolder("C:\\Work");
        os.files.current = "C:\\Work";
        in.SetVar("OutputKeep", "1");
        os.files.AddFile("C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\mybatch.dcb", "echo `1`");
    }
};

TEST_F(LongNamesTest, TheShellIsNeverHandedWhatItCannotTake) {
    Output("addsearch find http://example.com/?q=%s");
    const char* lines[] = {"run %s",  "runmax %s",         "runhide x %s",     "%s",
                           "%s p q",  "run http://a/%s",   "http://a/?%s",     "www.%s",
                           "find %s", "run \"C:\\%s\" -p", "mybatch x %s",     "run notepad %s",
                           "help %s", "orvanesite %s",     "orid %s pw|donate"};
    for (const ShellLimits* limits : {&kWindows, &kWine}) {
        os.shell.limits = *limits;
        for (const char* line : lines) {
            for (const std::string& name : OddNames()) {
                const std::string filled = Fill(line, name);
                SCOPED_TRACE(filled.substr(0, 40) + "... (" + std::to_string(filled.size()) + ")" +
                             (limits == &kWine ? " on Wine" : ""));
                os.shell.opens.clear();
                std::string out = Output(filled);
                for (const FakeShell::OpenCall& open : os.shell.opens)
                    EXPECT_TRUE(FitsShell(*limits, open.file, open.params));
                // The fake shell opens nothing; the batch file echoes its
                // parameter, and the browser reports its own failures.
                if (Fill(line, "") == "mybatch x ") {
                    EXPECT_EQ(out, "x");
                } else if (out != kInvalidTarget) {
                    EXPECT_EQ(out, "");
                    EXPECT_FALSE(os.shell.opens.empty());
                }
            }
        }
    }
}

// Names no file can have (too long, or with bytes no name may hold): each
// command answers them with one of its usual lines. Device names are in
// devices.dcb.
TEST_F(LongNamesTest, FileCommandsAnswerImpossibleNamesWithTheirUsualLine) {
    os.files.AddFile("a.txt", "x");
    const std::vector<std::string> created = {kTooLong, kBadName}, notFound = {"File not found"},
                                   sourceGone = {"Source file/folder not found"};
    const std::string inFolder =
        "\nFilename should not contain a folder or a file extension and should be the name of a "
        "file in your batch folder";
    // A line and its answers to an impossible name.
    // clang-format off
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"type %s", notFound}, {"edit %s", notFound}, {"del %s", notFound},
        {"dir %s", {"No matching files or folders"}}, {"copy %s b.txt", sourceGone},
        {"move %s b.txt", sourceGone}, {"rename %s b.txt", sourceGone}, {"copy a.txt %s", created},
        {"move a.txt %s", created}, {"rename a.txt %s", created}, {"cd %s", {"Path not found"}},
        {"md %s", created}, {"cdd %s", {""}},  // CDD never says why it stayed
        {"rd %s", {kNotFound}}, {"addbatch %s", created}, {"addsearch %s http://x/?q=%s", created},
        {"editbatch %s", {"File not found", "Syntax: EDITBATCH filename" + inFolder}},
        {"delbatch %s", {"File not found", "Syntax: DELBATCH filename" + inFolder}}};
    // clang-format on
    for (const auto& [pattern, answers] : cases) {
        os.shell.opens.clear();
        for (const std::string& name : OddNames()) {
            if (static_cast<unsigned char>(name[1]) >= 0x7f) continue;  // a name a file may have
            const std::string line = Fill(pattern, name);
            const std::string out = Output(line);
            EXPECT_NE(std::find(answers.begin(), answers.end(), out), answers.end())
                << line.substr(0, 30) << "... (" << line.size() << "): " << out.substr(0, 200);
        }
        EXPECT_TRUE(os.shell.opens.empty()) << pattern;
    }
    EXPECT_EQ(os.files.Contents("a.txt"), "x");
    EXPECT_EQ(os.files.deviceUses, std::vector<std::string>());
    EXPECT_TRUE(os.processes.started.empty());
}

}  // namespace
}  // namespace vantrel::testing
