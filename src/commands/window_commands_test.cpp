#include "commands/window_commands.h"

#include <gtest/gtest.h>

#include "interpreter/command_line.h"

namespace vantrel {
namespace {

// What FOCUS, CLOSE, KILL and WINS do to the desktop is in windows.dcb.
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

}  // namespace
}  // namespace vantrel
