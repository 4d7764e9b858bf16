#include "commands/variable_commands.h"

#include <array>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

// SET, LET, PRINT, VB, ECHO and ENV run in variables.dcb.
using VariableCommandsTest = InterpreterTest;

TEST_F(VariableCommandsTest, SetListsNamesSortedWithoutRegardToCase) {
    in.Vars().ResetNames();
    for (const char* name : {"b", "C", "a", "B_2", "aa", "Ab", "alpha"}) in.SetVar(name, "1");
    in.SetVar("ALPHA", "2");        // keeps its first spelling
    in.SetVar("C", "");             // an empty value is no longer listed
    in.SetVar("aa", "bad\"value");  // nor is a refused one
    EXPECT_EQ(Output("set"), "a=1\nAb=1\nalpha=2\nb=1\nB_2=1");
    EXPECT_EQ(Output("set  b  =  x  "), "");
    EXPECT_EQ(in.EvaluateText("b"), "x");
}

TEST_F(VariableCommandsTest, FormattedNumbersFollowTheRegionalSettings) {
    EXPECT_EQ(Output("print formatnumber(1234.5)"), "1,234.50");
    os.clock.numbers.decimal = ",";
    os.clock.numbers.grouping = ".";
    os.clock.numbers.currency = "EUR";
    os.clock.numbers.currencyPlacement = 3;
    EXPECT_EQ(Output("print formatnumber(1234.5)"), "1.234,50");
    EXPECT_EQ(Output("print formatcurrency(-2)"), "(2,00 EUR)");
    // Numbers kept as text read back the same whatever the region.
    EXPECT_EQ(Output("print 1.5*2"), "3");
}

// Text beyond ASCII goes as its UTF-8 bytes, each encoded, as addresses
// carry it.
TEST(UrlHex, EveryByteButLettersAndDigitsIsEncoded) {
    EXPECT_EQ(UrlHex("a b+c.d"), "a+b%2Bc%2Ed");
    EXPECT_EQ(UrlHex("100%-_~é日\n"), "100%25%2D%5F%7E%C3%A9%E6%97%A5%0A");
}

TEST_F(VariableCommandsTest, ClockCommandsPrintAndSet) {
    EXPECT_EQ(Output("time"), "14:30:05");
    EXPECT_EQ(Output("date"), "12/6/2026");
    EXPECT_EQ(Output("now"), "12/6/2026 14:30:05");
    os.clock.now.millisecond = 500;
    for (const char* line : {"time 10:11:12", "date 1/2/2027", "time not a time",
                             "date \"1/2/2027\"", "now 3/4/2028 5:06:07"}) {
        EXPECT_EQ(Output(line), "") << line;  // nothing is said, even for a wrong time
    }
    using Stamp = std::array<int, 7>;  // year to millisecond
    std::vector<Stamp> sets;
    for (const LocalTime& t : os.clock.sets)
        sets.push_back({t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond});
    EXPECT_EQ(sets, (std::vector<Stamp>{{2026, 12, 6, 10, 11, 12, 0},
                                        {2027, 1, 2, 10, 11, 12, 0},
                                        {2028, 3, 4, 5, 6, 7, 0}}));
}

}  // namespace
}  // namespace vantrel::testing
