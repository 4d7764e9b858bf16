#include "commands/power_commands.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using PowerCommandsTest = InterpreterTest;

// A line, what it prints, and how often it calls the host's Exit. leave.dcb
// exits in its second line; outer.dcb runs leave.dcb first.
TEST_F(PowerCommandsTest, ExitEndsTheConsoleAndRunsNothingAfter) {
    os.files.AddFile("C:\\leave.dcb", "echo before\r\nexit|echo not on its line\r\necho nor after");
    os.files.AddFile("C:\\outer.dcb", "leave\r\necho nor in the caller\r\n");
    in.SetVar("OutputKeep", "1");
    const std::tuple<const char*, const char*, int> cases[] = {
        {"exit|echo not after EXIT", "", 1},
        {"QUIT|echo nor after QUIT", "", 1},
        {"leave|echo nor after the batch file", "before", 1},
        {"outer", "before", 1},
        {"exit now|echo an argument is misuse", "Syntax: EXIT\nan argument is misuse", 0},
    };
    for (auto [line, output, exits] : cases) {
        in.exitRequested = false;
        host.calls.clear();
        EXPECT_EQ(Output(line), output) << line;
        EXPECT_EQ(host.Count("Exit"), exits) << line;
    }
}

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
