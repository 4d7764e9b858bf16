// Names of any length and any bytes, through every command that hands a
// name on: each answers with its usual line, and nothing reaches the shell
// that the shell cannot take.
#include <gtest/gtest.h>

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

// Names no file can have: too long, or with bytes no name may hold.
std::vector<std::string> ImpossibleNames() {
    std::vector<std::string> names;
    for (const std::string& name : OddNames()) {
        if (static_cast<unsigned char>(name[1]) < 0x7f) names.push_back(name);
    }
    return names;
}

TEST_F(LongNamesTest, FileCommandsAnswerImpossibleAndDeviceNamesWithTheirUsualLine) {
    os.files.AddFile("a.txt", "x");
    const std::vector<std::string> created = {kTooLong, kBadName};
    const std::string exists = "Another file with that name already exists";
    const std::string batchHint = "Filename should not contain a folder or a file extension";
    const std::string inFolder =
        "\n" + batchHint + " and should be the name of a file in your batch folder";
    const std::string editSyntax = "Syntax: EDITBATCH filename" + inFolder;
    const std::string delSyntax = "Syntax: DELBATCH filename" + inFolder;
    const std::string dirOfFolder =
        "Cannot use folder names with DIR\nTo view the contents of another folder, use DOS DIR "
        "[path]";
    struct Case {
        const char* line;
        std::vector<std::string> impossible;  // one of them, whole; none: not tried here
        std::string device;
    } cases[] = {
        {"type %s", {"File not found"}, "File not found"},
        {"edit %s", {"File not found"}, "File not found"},
        {"del %s", {"File not found"}, "File not found"},
        {"copy %s b.txt", {"Source file/folder not found"}, "Source file/folder not found"},
        {"move %s b.txt", {"Source file/folder not found"}, "Source file/folder not found"},
        {"rename %s b.txt", {"Source file/folder not found"}, "Source file/folder not found"},
        {"copy a.txt %s", created, exists},
        {"move a.txt %s", created, exists},
        {"rename a.txt %s", created, exists},
        {"dir %s", {"No matching files or folders"}, "No matching files or folders"},
        {"cd %s", {"Path not found"}, "Syntax: CD [folder]"},
        {"cdd %s", {""}, "Syntax: CDD [folder]"},  // CDD never says why it stayed
        {"md %s", created, "Syntax: MD [folder]"},
        {"rd %s", {kNotFound}, "Syntax: RD [folder]"},
        {"addbatch %s", created, "Syntax: ADDBATCH filename [command]\n" + batchHint},
        {"addsearch %s http://x/?q=%s", created,
         "Syntax: ADDSEARCH filename [url]\nUse %s to represent the search string in the URL"},
        {"editbatch %s", {"File not found", editSyntax}, editSyntax},
        {"delbatch %s", {"File not found", delSyntax}, delSyntax},
        {"run %s", {}, kInvalidTarget},
        {"runhide %s", {}, kInvalidTarget},
        {"runmin %s x", {}, kInvalidTarget},
        {"%s", {}, kInvalidTarget},
    };
    for (const Case& c : cases) {
        os.shell.opens.clear();
        for (const std::string& name :
             c.impossible.empty() ? std::vector<std::string>() : ImpossibleNames()) {
            const std::string line = Fill(c.line, name);
            const std::string out = Output(line);
            EXPECT_NE(std::find(c.impossible.begin(), c.impossible.end(), out), c.impossible.end())
                << line.substr(0, 30) << "... (" << line.size() << "): " << out.substr(0, 200);
        }
        EXPECT_TRUE(os.shell.opens.empty()) << c.line;
        for (const char* device :
             {"COM1", "com1.txt", "Lpt9.log", "aux", "NUL", "C:\\Work\\nul", "\\\\.\\COM1"}) {
            const std::string line = Fill(c.line, device);
            // DIR refuses a folder in front before it looks at the name.
            const bool folder = std::string(device).find('\\') != std::string::npos;
            os.shell.opens.clear();
            EXPECT_EQ(Output(line),
                      folder && c.device.rfind("No matching", 0) == 0 ? dirOfFolder : c.device)
                << line;
            // Only "COM1 x", the whole text, reaches the shell: no device's name.
            for (const FakeShell::OpenCall& open : os.shell.opens) {
                EXPECT_NE(open.file.find(' '), std::string::npos) << line;
            }
        }
    }
    EXPECT_EQ(os.files.Contents("a.txt"), "x");
    EXPECT_EQ(os.files.deviceUses, std::vector<std::string>());
    EXPECT_TRUE(os.processes.started.empty());
}

}  // namespace
}  // namespace vantrel::testing
