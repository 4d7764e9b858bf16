#include "commands/power_commands.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using PowerCommandsTest = InterpreterTest;

// SHUTDOWN and RESTART are in launch.dcb. A line, what it prints, and how often it calls the host's
// Exit. leave.dcb exits in its second line; outer.dcb runs leave.dcb first.
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

}  // namespace
}  // namespace vantrel::testing
