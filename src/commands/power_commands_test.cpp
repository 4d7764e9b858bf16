#include "commands/power_commands.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

struct ExitCase {
    const char* line;
    const char* output;
    int exits;  // calls of the host's Exit
};

// leave.dcb exits in its second line; outer.dcb runs leave.dcb first.
const ExitCase kExitCases[] = {
    {"exit|echo not after EXIT", "", 1},
    {"QUIT|echo nor after QUIT", "", 1},
    {"leave|echo nor after the batch file", "before", 1},
    {"outer", "before", 1},
    {"exit now|echo an argument is misuse", "Syntax: EXIT\nan argument is misuse", 0},
};

class ExitTest : public InterpreterTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitTest, EndsTheConsoleAndRunsNothingAfter) {
    os.files.AddFile("C:\\leave.dcb", "echo before\r\nexit|echo not on its line\r\necho nor after");
    os.files.AddFile("C:\\outer.dcb", "leave\r\necho nor in the caller\r\n");
    in.SetVar("OutputKeep", "1");
    EXPECT_EQ(Output(GetParam().line), GetParam().output);
    EXPECT_EQ(host.Count("Exit"), GetParam().exits);
}

INSTANTIATE_TEST_SUITE_P(Lines, ExitTest, ::testing::ValuesIn(kExitCases));

using PowerCommandsTest = InterpreterTest;

TEST_F(PowerCommandsTest, ShutdownAndRestartStartTheShutdownProgramHidden) {
    EXPECT_EQ(Output("shutdown \"\""), "Syntax: SHUTDOWN");
    EXPECT_EQ(Output("RESTART -r"), "Syntax: RESTART");
    EXPECT_TRUE(os.shell.opens.empty());
    // The program reports its own failures; the shell failing here says nothing.
    EXPECT_EQ(Output("shutdown"), "");
    EXPECT_EQ(Output("Restart"), "");
    EXPECT_EQ(os.shell.opens,
              (std::vector<FakeShell::OpenCall>{{"ShutDown.exe", "-s -t 0 -f", kShowHidden},
                                                {"ShutDown.exe", "-r -t 0 -f", kShowHidden}}));
}

}  // namespace
}  // namespace vantrel::testing
