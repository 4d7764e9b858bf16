#include "commands/variable_commands.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using VariableCommandsTest = InterpreterTest;

TEST_F(VariableCommandsTest, SetAssignsListsAndReports) {
    struct Case {
        const char* line;
        const char* output;
    } cases[] = {
        {"set x=a=b", ""},
        {"set x", "x=a=b"},
        {"set 2*3", "2*3=6"},
        {"set a b=1", "Variable names cannot contain spaces"},
        {"set =1", "Syntax: SET [name[=text]]"},
        {"set 1x=2", "Unable to set variable"},
        {"set if=2", "Unable to set variable"},
        {"set x y", "Syntax: SET [name[=text]]"},
        // A quote would end the literal and run the rest as script.
        {"set v=1\":y=\"2", "Unable to set variable"},
        {"set y", "y="},
        {"set  spaced  =  value  ", ""},
        {"set spaced", "spaced=value"},
    };
    for (const Case& c : cases) EXPECT_EQ(Output(c.line), c.output) << c.line;

    in.SetVar("zeta", "1");
    in.SetVar("Alpha", "2");
    in.SetVar("alpha", "3");  // keeps its first spelling
    std::string listing = Output("set");
    EXPECT_NE(listing.find("Alpha=3\n"), std::string::npos);
    EXPECT_LT(listing.find("Alpha=3"), listing.find("AlwaysOnTop="));
    EXPECT_LT(listing.find("CurDir="), listing.find("DesktopPublic="));
    EXPECT_LT(listing.find("x=a=b"), listing.find("zeta=1"));
    EXPECT_EQ(Output("set x="), "");
    EXPECT_EQ(Output("set").find("x="), std::string::npos);
    EXPECT_EQ(Output("set x"), "x=");
}

TEST_F(VariableCommandsTest, NamesStaySortedWithoutRegardToCase) {
    in.Vars().ResetNames();
    for (const char* name : {"b", "C", "a", "B_2", "aa", "Ab"}) in.SetVar(name, "1");
    in.SetVar("C", "");
    std::vector<std::string> expected = {"a", "aa", "Ab", "b", "B_2"};
    EXPECT_EQ(in.Vars().VarNames(), expected);
    in.SetVar("aa", "bad\"value");
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(in.Vars().VarNames(), expected);
}

TEST_F(VariableCommandsTest, LetStoresTheResult) {
    EXPECT_EQ(Output("let y=2*3"), "");
    EXPECT_EQ(in.EvaluateText("y"), "6");
    EXPECT_EQ(Output("let y=1/0"), "");
    EXPECT_EQ(in.EvaluateText("y"), "");
    EXPECT_EQ(Output("let y"), "Syntax: LET name=expression");
    EXPECT_EQ(Output("let"), "Syntax: LET name=expression");
    EXPECT_EQ(Output("let =1"), "Syntax: LET name=expression");
    EXPECT_EQ(Output("setvb a b=1"), "Variable names cannot contain spaces");
    EXPECT_EQ(Output("let s=\"a\" & 1"), "");
    EXPECT_EQ(in.EvaluateText("s"), "a1");
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

TEST_F(VariableCommandsTest, PrintAndVbReportScriptErrors) {
    EXPECT_EQ(Output("print 1/3"), "0.333333333333333");
    EXPECT_EQ(Output("print 2^10"), "1024");
    EXPECT_EQ(Output("print 7\\2"), "3");
    EXPECT_EQ(Output("print \"a\" & 1"), "a1");
    EXPECT_EQ(Output("print 1/0|echo next"), "Division by zero\nnext");
    EXPECT_EQ(Output("calc 3*3"), "9");
    EXPECT_EQ(Output("? 3-4"), "-1");
    EXPECT_EQ(Output("vb z = 4"), "");
    EXPECT_EQ(Output("basic z = z + 1|print z"), "5");
    EXPECT_NE(Output("vb z = "), "");
}

TEST_F(VariableCommandsTest, EchoSwitchesOrPrints) {
    for (const char* on : {"echo ON", "echo On", "echo on"}) {
        in.SetVar("Echo", "0");
        Run(on);
        EXPECT_EQ(in.EvaluateText("Echo"), "1") << on;
    }
    EXPECT_EQ(Output("@echo"), "ECHO is on");
    Run("echo off");
    EXPECT_EQ(Output("echo"), "ECHO is off");
    in.SetVar("Echo", "2");
    EXPECT_EQ(Output("@echo"), "ECHO is off");
    in.SetVar("Echo", "0");
    EXPECT_EQ(Output("echo Several  Words "), "Several  Words");
}

TEST_F(VariableCommandsTest, EnvAndUrlHex) {
    EXPECT_EQ(Output("env PATH"), "PATH=C:\\Windows;C:\\Tools\\");
    EXPECT_EQ(Output("environ nosuch"), "nosuch=");
    EXPECT_EQ(Output("env A B"), "Syntax: ENV [name]");
    EXPECT_EQ(Output("env A=B"), "Syntax: ENV [name]");
    EXPECT_EQ(Output("env"),
              "ALLUSERSPROFILE=C:\\ProgramData\nUSERPROFILE=C:\\Users\\me\nTEMP=C:\\Temp\n"
              "PATH=C:\\Windows;C:\\Tools\\");

    in.SetVar("q", "a&b c");
    EXPECT_EQ(Output("urlhex q"), "");
    EXPECT_EQ(in.EvaluateText("q"), "a%26b+c");
    EXPECT_EQ(Output("urlhex"), "Syntax: URLHEX varname");
    EXPECT_EQ(Output("urlhex a b"), "Syntax: URLHEX varname");
    EXPECT_EQ(UrlHex("a b+c.d"), "a+b%2Bc%2Ed");
    EXPECT_EQ(UrlHex("100%-_~\xE9\xDF\n"), "100%25%2D%5F%7E\xE9%DF%0A");
}

TEST_F(VariableCommandsTest, ClockCommandsPrintAndSet) {
    EXPECT_EQ(Output("time"), "14:30:05");
    EXPECT_EQ(Output("date"), "12/6/2026");
    EXPECT_EQ(Output("now"), "12/6/2026 14:30:05");
    EXPECT_EQ(Output("time 10:11:12"), "");
    ASSERT_EQ(os.clock.sets.size(), 1u);
    EXPECT_EQ(os.clock.now.hour, 10);
    EXPECT_EQ(os.clock.now.second, 12);
    EXPECT_EQ(os.clock.now.day, 6);
    EXPECT_EQ(Output("date 1/2/2027"), "");
    EXPECT_EQ(os.clock.now.year, 2027);
    EXPECT_EQ(os.clock.now.month, 1);
    EXPECT_EQ(os.clock.now.hour, 10);
    EXPECT_EQ(Output("time not a time"), "");
    EXPECT_EQ(Output("date \"1/2/2027\""), "");
    EXPECT_EQ(os.clock.sets.size(), 2u);
}

}  // namespace
}  // namespace vantrel::testing
