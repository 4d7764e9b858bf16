#include "interpreter/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

constexpr size_t kNone = std::string::npos;

TEST(CommandLine, ParseArgsTakesQuotedAndPlainTokens) {
    struct Case {
        const char* text;
        int n;
        const char* token;
    } cases[] = {
        {"a  b", 2, "b"},
        {"a b", 0, ""},
        {"", 1, ""},
        {"\"a b\" c", 1, "a b"},
        {"\"a b\" c", 2, "c"},
        {"\"a b\"c", 2, "c"},
        {"\"abc", 1, "abc"},
        {"  lead  trail  ", 1, "lead"},
        {"x\"y z", 1, "x\"y"},
        {"a b", 3, ""},
        {"a b", 2000000000, ""},
        {"\"\" x", 1, ""},
        {"\"\" x", 2, "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseArgs(c.text, c.n), c.token) << c.text << " #" << c.n;
    }
    EXPECT_EQ(GetArg("copy a.txt \"b c.txt\"", 2), "b c.txt");
}

// The separator and the markers are found without regard to case, and a
// match ends where the letter's bytes end.
TEST(CommandLine, SeparatorsAndMarkersAreFoundWithoutCase) {
    EXPECT_EQ(CommandStart("&dir|cls", "|", 8), 5u);
    EXPECT_EQ(CommandStart("x\u212Ay z", "k", 7), 4u);  // the Kelvin sign is a K
    EXPECT_EQ(OpenMarker("echo XaX and Xb", "x", 5), 13u);
    EXPECT_EQ(OpenMarker("echo `a` and b", "`"), kNone);
    const Command c = ParseCommand("  \"My Cmd\" Arg  ");
    EXPECT_EQ(c.word, "my cmd");
    EXPECT_EQ(c.args, "\" Arg");  // the length of the word without its quotes
}

}  // namespace
}  // namespace vantrel
