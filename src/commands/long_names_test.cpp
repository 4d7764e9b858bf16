// Names of any length and any bytes, through every command that hands a
// name on: each answers with its usual line, and nothing reaches the shell
// that the shell cannot take.
#include <gtest/gtest.h>

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
    for (size_t length : {300, 1000, 2000, 5000, 40000, 300000}) {
        names.push_back(std::string(length, 'a'));
    }
    std::string control = "x", high = "x";
    for (int c = 1; c < 0x20; ++c) {
        if (c != '\r' && c != '\n') control += static_cast<char>(c);
    }
    for (int c = 0x7f; c <= 0xff; ++c) {
        if (c != 0xac) high += static_cast<char>(c);
    }
    names.insert(names.end(), {control, high, "x\"*?<>", "x\"", "x" + std::string(1000, '"')});
    return names;
}

std::string Fill(const std::string& line, const std::string& name) {
    std::string filled = line;
    return filled.replace(filled.find("%s"), 2, name);
}

class LongNamesTest : public InterpreterTest {
  protected:
    LongNamesTest() {
        os.files.AddFolder("C:\\Work");
        os.files.current = "C:\\Work";
        in.SetVar("OutputKeep", "1");
        os.files.AddFile(kShortcuts + "\\mybatch.dcb", "echo `1`");
    }
    const std::string kShortcuts = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";
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
                const std::string what = filled.substr(0, 40) + "... (" +
                                         std::to_string(filled.size()) + ")" +
                                         (limits == &kWine ? " on Wine" : "");
                os.shell.opens.clear();
                std::string out = Output(filled);
                for (const FakeShell::OpenCall& open : os.shell.opens) {
                    EXPECT_TRUE(FitsShell(*limits, open.file, open.params)) << what;
                }
                // The fake shell opens nothing; the batch file echoes its
                // parameter, and the browser reports its own failures.
                if (Fill(line, "") == "mybatch x ") {
                    EXPECT_EQ(out, "x") << what;
                } else if (out != kInvalidTarget) {
                    EXPECT_EQ(out, "") << what;
                    EXPECT_FALSE(os.shell.opens.empty()) << what;
                }
            }
        }
    }
}

TEST_F(LongNamesTest, WhatFitsStillReachesTheShell) {
    struct Case {
        const ShellLimits& limits;
        std::string line;
        std::string opened;  // the last name handed over, "" for none
    } cases[] = {
        {kWindows, "run http://a/" + std::string(2000, 'b'), "http://a/" + std::string(2000, 'b')},
        {kWine, "run http://a/" + std::string(2000, 'b'), ""},
        {kWine, "run http://a/" + std::string(950, 'b'), "http://a/" + std::string(950, 'b')},
        {kWindows, "run C:\\" + std::string(256, 'b'), "C:\\" + std::string(256, 'b')},
        {kWindows, "run C:\\" + std::string(257, 'b'), ""},
        {kWindows, "help " + std::string(3000, 'b'), ""},
        {kWine, "help " + std::string(930, 'b'), ""},
        {kWine, "help " + std::string(800, 'b'),
         "http://vtrl.orvane.com/documentation/" + std::string(800, 'b') + ".html"},
    };
    for (const Case& c : cases) {
        os.shell.limits = c.limits;
        os.shell.opens.clear();
        std::string out = Output(c.line);
        EXPECT_EQ(os.shell.opens.empty() ? "" : os.shell.opens.back().file, c.opened)
            << c.line.substr(0, 20);
        if (c.opened.empty()) {
            EXPECT_EQ(out, kInvalidTarget) << c.line.substr(0, 20);
        }
    }
}

}  // namespace
}  // namespace vantrel::testing
