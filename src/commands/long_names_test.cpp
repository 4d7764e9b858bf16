// Names of any length and any bytes, through every command that hands a
// name on: each answers with its usual line, and nothing reaches the shell
// that the shell cannot take.
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

// The last name handed over, "" for none (and then the line is refused).
TEST_F(LongNamesTest, WhatFitsStillReachesTheShell) {
    const std::string b2000(2000, 'b'), b950(950, 'b'), b800(800, 'b');
    const std::tuple<const ShellLimits&, std::string, std::string> cases[] = {
        {kWindows, "run http://a/" + b2000, "http://a/" + b2000},
        {kWine, "run http://a/" + b2000, ""},
        {kWine, "run http://a/" + b950, "http://a/" + b950},
        {kWindows, "run C:\\" + std::string(256, 'b'), "C:\\" + std::string(256, 'b')},
        {kWindows, "run C:\\" + std::string(257, 'b'), ""},
        {kWindows, "help " + std::string(3000, 'b'), ""},
        {kWine, "help " + std::string(930, 'b'), ""},
        {kWine, "help " + b800, "http://vtrl.orvane.com/documentation/" + b800 + ".html"},
    };
    for (const auto& [limits, line, opened] : cases) {
        os.shell.limits = limits;
        os.shell.opens.clear();
        std::string out = Output(line);
        EXPECT_EQ(os.shell.opens.empty() ? "" : os.shell.opens.back().file, opened)
            << line.substr(0, 20);
        if (opened.empty()) {
            EXPECT_EQ(out, kInvalidTarget) << line.substr(0, 20);
        }
    }
}

// Names no file can have (too long, or with bytes no name may hold), and
// device names: each command answers them with one of its usual lines.
TEST_F(LongNamesTest, FileCommandsAnswerImpossibleAndDeviceNamesWithTheirUsualLine) {
    os.files.AddFile("a.txt", "x");
    std::vector<std::string> impossibleNames;
    for (const std::string& name : OddNames())
        if (static_cast<unsigned char>(name[1]) < 0x7f) impossibleNames.push_back(name);
    const std::vector<std::string> created = {kTooLong, kBadName};
    const std::string notFound = "File not found", sourceGone = "Source file/folder not found",
                      exists = "Another file with that name already exists",
                      noMatch = "No matching files or folders",
                      batchHint = "Filename should not contain a folder or a file extension";
    const std::string inFolder =
        "\n" + batchHint + " and should be the name of a file in your batch folder";
    const std::string editSyntax = "Syntax: EDITBATCH filename" + inFolder;
    const std::string delSyntax = "Syntax: DELBATCH filename" + inFolder;
    const std::string dirOfFolder =
        "Cannot use folder names with DIR\nTo view the contents of another folder, use DOS DIR "
        "[path]";
    // A line, its answers to an impossible name (none: not tried here), and
    // its answer to a device's name.
    // clang-format off
    const std::tuple<const char*, std::vector<std::string>, std::string> cases[] = {
        {"type %s", {notFound}, notFound}, {"edit %s", {notFound}, notFound},
        {"del %s", {notFound}, notFound}, {"dir %s", {noMatch}, noMatch},
        {"copy %s b.txt", {sourceGone}, sourceGone}, {"move %s b.txt", {sourceGone}, sourceGone},
        {"rename %s b.txt", {sourceGone}, sourceGone}, {"copy a.txt %s", created, exists},
        {"move a.txt %s", created, exists}, {"rename a.txt %s", created, exists},
        {"cd %s", {"Path not found"}, "Syntax: CD [folder]"}, {"md %s", created, "Syntax: MD [folder]"},
        {"cdd %s", {""}, "Syntax: CDD [folder]"},  // CDD never says why it stayed
        {"rd %s", {kNotFound}, "Syntax: RD [folder]"},
        {"addbatch %s", created, "Syntax: ADDBATCH filename [command]\n" + batchHint},
        {"addsearch %s http://x/?q=%s", created,
         "Syntax: ADDSEARCH filename [url]\nUse %s to represent the search string in the URL"},
        {"editbatch %s", {notFound, editSyntax}, editSyntax},
        {"delbatch %s", {notFound, delSyntax}, delSyntax},
        {"run %s", {}, kInvalidTarget}, {"runhide %s", {}, kInvalidTarget},
        {"runmin %s x", {}, kInvalidTarget}, {"%s", {}, kInvalidTarget}};
    // clang-format on
    for (const auto& [pattern, impossible, device] : cases) {
        os.shell.opens.clear();
        for (const std::string& name :
             impossible.empty() ? std::vector<std::string>() : impossibleNames) {
            const std::string line = Fill(pattern, name);
            const std::string out = Output(line);
            EXPECT_NE(std::find(impossible.begin(), impossible.end(), out), impossible.end())
                << line.substr(0, 30) << "... (" << line.size() << "): " << out.substr(0, 200);
        }
        EXPECT_TRUE(os.shell.opens.empty()) << pattern;
        for (const char* name :
             {"COM1", "com1.txt", "Lpt9.log", "aux", "NUL", "C:\\Work\\nul", "\\\\.\\COM1"}) {
            const std::string line = Fill(pattern, name);
            // DIR refuses a folder in front before it looks at the name.
            const bool folder = std::string(name).find('\\') != std::string::npos;
            os.shell.opens.clear();
            EXPECT_EQ(Output(line), folder && device == noMatch ? dirOfFolder : device) << line;
            // Only "COM1 x", the whole text, reaches the shell: no device's name.
            for (const FakeShell::OpenCall& open : os.shell.opens)
                EXPECT_NE(open.file.find(' '), std::string::npos) << line;
        }
    }
    EXPECT_EQ(os.files.Contents("a.txt"), "x");
    EXPECT_EQ(os.files.deviceUses, std::vector<std::string>());
    EXPECT_TRUE(os.processes.started.empty());
}

}  // namespace
}  // namespace vantrel::testing
