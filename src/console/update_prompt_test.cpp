#include "console/update_prompt.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

PromptLine Line(std::optional<std::string> prompt, std::optional<std::string> command,
                std::optional<char> password, std::optional<bool> locked,
                std::optional<std::string> toClient = std::nullopt) {
    return PromptLine{prompt, command, password, locked, toClient};
}

TEST(PromptForTest, EveryState) {
    PromptContext context;
    context.currentDirectory = "C:\\Users\\Me";
    context.accountUser = "ann";
    context.remoteHost = "10.0.0.2";
    context.remotePrompt = "D:\\>";
    context.peerAddress = "10.0.0.9";
    const std::string serveHint = " (press F10 to kick or CTRL+F10 to ban)";
    struct Case {
        ConsoleState state;
        PromptLine line;
    } cases[] = {
        {kLocal, Line("C:\\Users\\Me>", {}, '\0', false)},
        {kAccountPassword, Line("ann password>", {}, '*', false)},
        {kConnecting, Line("Connecting to 10.0.0.2 . . . ", " (press F10 to cancel)", {}, true)},
        {kRemotePassword, Line("10.0.0.2: Password>", {}, '*', false)},
        {kRemoteLink, Line("10.0.0.2: D:\\>", {}, '\0', false)},
        {kDisconnecting, Line({}, {}, {}, {})},
        {kSending, Line({}, {}, {}, true)},
        {kAwaitingLogin, Line("Serving 10.0.0.9", serveHint, {}, true, "Password>")},
        {kServing, Line("Serving 10.0.0.9", serveHint, {}, true, "C:\\Users\\Me>")},
    };
    for (const Case& c : cases) EXPECT_EQ(PromptFor(c.state, context), c.line) << c.state;
}

TEST(PromptForTest, EmptyRemotePromptLeavesHostAndColon) {
    PromptContext context;
    context.remoteHost = "host";
    EXPECT_EQ(PromptFor(kRemoteLink, context).prompt, "host: ");
}

}  // namespace
}  // namespace vantrel
