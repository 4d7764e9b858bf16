#include "commands/window_commands.h"

#include "interpreter/command_line.h"
#include "interpreter/text.h"
#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

class WindowCommandsTest : public InterpreterTest {
  protected:
    WindowCommandsTest() {
        os.windows.windows = {
            {11, 300, "Untitled - Notepad"},     {12, 7, "7zip File Manager"}, {13, 300, ""},
            {14, 123456, "notes.txt - NOTEPAD"}, {15, 42, "Calculator"},
        };
    }
};

TEST(WindowCommands, TargetPidFollowsTheLeadingNumberRule) {
    const std::pair<const char*, unsigned long> cases[] = {
        {"focus 1234", 1234},    {"focus 1234 x", 0},
        {"focus 7zip", 7},       {"kill 0", 0},
        {"kill abc", 0},         {"kill -5", 0},
        {"kill 2.5", 2},         {"kill 3.5", 4},
        {"kill 99999999999", 0}, {"kill 2147483647", 2147483647UL},
    };
    for (auto [line, pid] : cases) EXPECT_EQ(TargetPid(ParseCommand(line)), pid) << line;
}

TEST_F(WindowCommandsTest, FocusRaisesTheTopmostMatchCloseAndKillTakeEveryOneWinsListsThem) {
    for (const char* line :
         {"focus notepad", "focus 42", "focus 7zip", "focus nothing", "close NOTEPAD", "close 300",
          "kill 5555", "kill notepad", "kill 0", "kill 42 x"}) {
        EXPECT_EQ(Output(line), "") << line;
    }
    EXPECT_EQ(os.windows.raised, (std::vector<WindowHandle>{11, 15, 12}));  // 7zip is pid 7
    EXPECT_EQ(os.windows.closed, (std::vector<WindowHandle>{11, 14, 11, 13}));
    // A pid needs no window; "0" and "42 x" are title fragments that match none.
    EXPECT_EQ(os.windows.terminated, (std::vector<unsigned long>{5555, 300, 123456}));
    // WINS lists the titled windows under the header.
    const std::string head =
        "  PID  |                              Window title\n"
        "-------|------------------------------------------------------------------------";
    // The untitled window 13 is never listed, not even without a fragment.
    EXPECT_EQ(Output("wins"), head +
                                  "\n   300 | Untitled - Notepad\n     7 | 7zip File Manager\n"
                                  "123456 | notes.txt - NOTEPAD\n    42 | Calculator");
    EXPECT_EQ(Output("windows note"),
              head + "\n   300 | Untitled - Notepad\n123456 | notes.txt - NOTEPAD");
    EXPECT_EQ(Output("wins zzz"), head);
}

}  // namespace
}  // namespace vantrel::testing
