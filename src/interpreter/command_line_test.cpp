#include "interpreter/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

TEST(CommandLine, ParseArgsTakesQuotedAndPlainTokens) {
    // clang-format off
    const std::tuple<const char*, int, const char*> cases[] = {
        {"a  b", 2, "b"}, {"a b", 0, ""}, {"", 1, ""}, {"a b", 3, ""}, {"a b", 2000000000, ""},
        {"\"a b\" c", 1, "a b"}, {"\"a b\" c", 2, "c"}, {"\"a b\"c", 2, "c"}, {"\"abc", 1, "abc"},
        {"  lead  trail  ", 1, "lead"}, {"x\"y z", 1, "x\"y"}, {"\"\" x", 1, ""}, {"\"\" x", 2, "x"}};
    // clang-format on
    for (auto [text, n, token] : cases) EXPECT_EQ(ParseArgs(text, n), token) << text << " #" << n;
    EXPECT_EQ(GetArg("copy a.txt \"b c.txt\"", 2), "b c.txt");
}

// The separator and the markers are found without regard to case, and a
// match ends where the letter's bytes end.
TEST(CommandLine, SeparatorsAndMarkersAreFoundWithoutCase) {
    EXPECT_EQ(CommandStart("&dir|cls", "|", 8), 5u);
    EXPECT_EQ(CommandStart("x\u212Ay z", "k", 7), 4u);  // the Kelvin sign is a K
    EXPECT_EQ(OpenMarker("echo XaX and Xb", "x", 5), 13u);
    EXPECT_EQ(OpenMarker("echo `a` and b", "`"), std::string::npos);
    const Command c = ParseCommand("  \"My Cmd\" Arg  ");
    EXPECT_EQ(c.word, "my cmd");
    EXPECT_EQ(c.args, "\" Arg");  // the length of the word without its quotes
}

}  // namespace
}  // namespace vantrel
