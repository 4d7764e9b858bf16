#include "interpreter/interpreter.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

// Echo, keep-output, markers, separators and rewrites as the pane shows
// them are in the golden cases (echo_output.dcb, variables.dcb).
using RunCommandTest = InterpreterTest;

TEST_F(RunCommandTest, AKeptPaneGetsABlankLineBeforeTheNextCommand) {
    in.SetVar("Echo", "1");
    os.bar.paneHasText = true;
    in.PendingOutput() = "earlier";
    in.RunCommand("&echo hi");
    EXPECT_EQ(Shown(in.PendingOutput()), "earlier\n\nC:\\>&echo hi\nhi");
    // Nothing to separate from: no blank line.
    os.bar.paneHasText = false;
    in.SetVar("OutputKeep", "1");
    in.PendingOutput() = "earlier";
    in.RunCommand("@echo kept");
    EXPECT_EQ(Shown(in.PendingOutput()), "earlier\nkept");
}

TEST_F(RunCommandTest, AnEmptyLineOnlyClearsAndKeepsCurDir) {
    os.files.AddFolder("C:\\Work");
    os.files.current = "C:\\Work";
    host.calls.clear();
    EXPECT_EQ(Run("   "), "<FF>");
    EXPECT_EQ(in.EvaluateText("CurDir"), "C:\\Work");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"LineStarted", "LineEnded"}));
}

// Short hostile lines are in hostile.dcb; these are the long ones.
TEST_F(RunCommandTest, HostileLinesAreAnsweredWithALine) {
    os.environment.variables.push_back({"LEGACY", "old"});
    std::string manyNames;
    for (int i = 0; i < 3000; ++i) manyNames += "`v" + std::to_string(i) + "`";
    const std::pair<std::string, std::string> cases[] = {
        {"echo " + manyNames, "Too many variables to expand; the rest is left as typed\n" +
                                  manyNames.substr(manyNames.find("`v1000`"))},
        {"echo " + std::string(300000, 'x'), std::string(300000, 'x')},
        {"print " + std::string(150000, '(') + "1" + std::string(150000, ')'),
         "Out of stack space"},
        {std::string(1000, '|'), ""},
        {"echo " + std::string(50000, '`'), "ECHO is off"},  // empty names, empty values
    };
    for (const auto& [line, output] : cases) EXPECT_EQ(Output(line), output) << line.substr(0, 40);
    EXPECT_NE(Output(std::string("print \"a\0b\"", 12)), "");
    // A legacy line: the default marker's byte marks, any other odd byte stays.
    EXPECT_EQ(Output("echo caf\xE9 \xACLEGACY\xAC"), "caf\xE9 old");
}

TEST_F(RunCommandTest, EndlessOutputKeepsItsNewestLines) {
    in.PendingOutput().clear();
    in.PrintOut("\f");
    const std::string line(999, 'x');
    for (int i = 0; i < 20000; ++i) in.PrintOut(line + std::to_string(i % 10));
    const std::string& pending = in.PendingOutput();
    EXPECT_LE(pending.size(), Interpreter::kMaxPendingOutput);
    EXPECT_EQ(pending.substr(0, 3), "\f\r\n");
    EXPECT_EQ(pending.substr(3, 999), line);  // whole lines only
    EXPECT_EQ(pending.substr(1003, 2), "\r\n");
    EXPECT_EQ(pending.substr(pending.size() - 1000), line + "9");
}

}  // namespace
}  // namespace vantrel::testing
