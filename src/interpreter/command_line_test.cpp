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

// Where a command begins, and which marker is left open: the separator
// and the markers are found without regard to case, as RunCommand finds
// them.
TEST(CommandLine, SeparatorsMarkersAndPrefixesSplitTheLine) {
    const struct {
        const char* line;
        const char* separator;
        size_t commandStart;  // of the command holding the end of the line
    } starts[] =
        {
            {"dir", "|", 0},        {"@dir", "|", 1},
            {"&dir|cls", "|", 5},   {"echo a AND b", "and", 10},
            {"echo a|b", "", 0},    {"|||", "|", 3},
            {"x\u212Ay z", "k", 4},  // the Kelvin sign is a K: three bytes end there
        };
    for (const auto& c : starts) {
        EXPECT_EQ(CommandStart(c.line, c.separator, std::string_view(c.line).size()),
                  c.commandStart)
            << c.line;
    }
    EXPECT_EQ(OpenMarker("echo `a` and `b", "`"), 13u);
    EXPECT_EQ(OpenMarker("echo `a` and b", "`"), kNone);
    EXPECT_EQ(OpenMarker("echo XaX and Xb", "x", 5), 13u);
    EXPECT_EQ(OpenMarker("echo `a", ""), kNone);
    const Command c = ParseCommand("  \"My Cmd\" Arg  ");
    EXPECT_EQ(c.word, "my cmd");
    EXPECT_EQ(c.args, "\" Arg");  // the length of the word without its quotes
    EXPECT_EQ(ParseCommand("COPY A b").argsLower, "a b");
}

}  // namespace
}  // namespace vantrel
