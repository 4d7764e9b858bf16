#include "commands/variable_commands.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "interpreter/variables.h"
#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

// SET, LET, PRINT, VB, ECHO and ENV run in variables.dcb; TIME, DATE, NOW
// and regional numbers in clock.dcb.

// Text beyond ASCII goes as its UTF-8 bytes, each encoded, as addresses
// carry it.
TEST(UrlHex, EveryByteButLettersAndDigitsIsEncoded) {
    EXPECT_EQ(UrlHex("a b+c.d"), "a+b%2Bc%2Ed");
    EXPECT_EQ(UrlHex("100%-_~é日\n"), "100%25%2D%5F%7E%C3%A9%E6%97%A5%0A");
}

using SetListTest = InterpreterTest;

// SET alone lists the variables, the settings among them, sorted without
// regard to case, each under its first spelling; one emptied, or refused a
// value, is listed no more.
TEST_F(SetListTest, NamesAreSortedWithoutRegardToCaseInTheirFirstSpelling) {
    EXPECT_EQ(Output("set b=1|set C=1|set a=1|set B_2=1|set aa=1|set Ab=1|set alpha=1|"
                     "set ALPHA=2|set C=|set aa=bad\"value"),
              "Unable to set variable");
    const std::set<std::string> ours = {"a",           "aa", "Ab",  "alpha", "ALPHA",
                                        "AlwaysOnTop", "b",  "B_2", "C"};
    std::istringstream lines(Output("set"));
    std::string listed;
    for (std::string line; std::getline(lines, line);)
        if (ours.count(line.substr(0, line.find('=')))) listed += line + "\n";
    EXPECT_EQ(listed, "a=1\nAb=1\nalpha=2\nAlwaysOnTop=1\nb=1\nB_2=1\n");
}

}  // namespace
}  // namespace vantrel::testing
