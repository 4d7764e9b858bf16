#include "interpreter/interpreter.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using RunCommandTest = InterpreterTest;

TEST_F(RunCommandTest, ClearsOrKeepsThePaneAndEchoes) {
    EXPECT_EQ(Run("set x=1"), "<FF>");
    in.SetVar("Echo", "1");
    EXPECT_EQ(Run("echo hi"), "<FF>\nC:\\>echo hi\nhi");
    EXPECT_EQ(Run("@echo hi"), "<FF>\nhi");
    // "&" keeps the pane; the blank separator needs other pending output.
    os.bar.paneHasText = true;
    EXPECT_EQ(Run("&echo hi"), "C:\\>&echo hi\nhi");
    in.PendingOutput() = "earlier";
    in.RunCommand("&echo hi");
    EXPECT_EQ(Shown(in.PendingOutput()), "earlier\n\nC:\\>&echo hi\nhi");
    // A space before "@" makes it an ordinary line whose word is "@echo".
    EXPECT_EQ(Run(" @echo hi"), "<FF>\nC:\\> @echo hi\nInvalid command, filename or URL");
    in.SetVar("Echo", "0");
    in.SetVar("OutputKeep", "2");
    EXPECT_EQ(Run("echo kept"), "kept");  // the blank line needs pending output
    os.bar.paneHasText = false;
    in.PendingOutput() = "earlier";
    in.RunCommand("echo kept");
    EXPECT_EQ(Shown(in.PendingOutput()), "earlier\nkept");
}

TEST_F(RunCommandTest, EmptyLinesOnlyClearAndRefresh) {
    os.files.AddFolder("C:\\Work");
    os.files.current = "C:\\Work";
    host.calls.clear();
    EXPECT_EQ(Run("   "), "<FF>");
    EXPECT_EQ(in.EvaluateText("CurDir"), "C:\\Work");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"LineStarted", "LineEnded"}));
    EXPECT_EQ(os.bar.command, "");
}

TEST_F(RunCommandTest, SplitsAtTheSeparator) {
    EXPECT_EQ(Output("echo a|echo b|echo c"), "a\nb\nc");
    EXPECT_EQ(Output("echo a|cls|echo b"), "a\n<FF>\nb");
    in.SetVar("CmdSepString", "AND");
    EXPECT_EQ(Output("echo a and echo b"), "a\nb");
    in.SetVar("CmdSepString", "");
    EXPECT_EQ(Output("echo a|echo b"), "a|echo b");
}

TEST_F(RunCommandTest, ExpandsMarkers) {
    in.SetVar("x", "5");
    EXPECT_EQ(Output("print `x`*2"), "10");
    EXPECT_EQ(Output("print `2+3`"), "5");
    EXPECT_EQ(Output("echo `x"), "`x");
    EXPECT_EQ(Output("echo [`never`]"), "[]");
    EXPECT_EQ(Output("echo [`1/0`]"), "[]");
    EXPECT_EQ(Output("echo \xACTEMP\xAC\\x"), "C:\\Temp\\x");
    EXPECT_EQ(Output("echo [\xACNOSUCH\xAC]"), "[]");
    EXPECT_EQ(Output("echo \xACtemp\xAC=\xACTEMP\xAC"), "C:\\Temp=C:\\Temp");
    // A marker in a value is expanded again.
    in.SetVar("y", "`x`0");
    EXPECT_EQ(Output("echo `y`"), "50");
    in.SetVar("VarString", "");
    EXPECT_EQ(Output("echo `x`"), "`x`");
}

TEST_F(RunCommandTest, SelfReferringExpansionStops) {
    in.SetVar("a", "[`a`]");
    EXPECT_EQ(Output("echo `a`"), "`a` expands to itself; left as typed\n[`a`]");
    in.SetVar("p", "`q`");
    in.SetVar("q", "`p`");
    EXPECT_EQ(Output("echo `p`"), "`p` expands to itself; left as typed\n`p`");
    in.SetVar("VarEnvString", "%");
    os.environment.variables.push_back({"LOOP", "%LOOP%%LOOP%"});
    EXPECT_EQ(Output("echo %LOOP%"), "%LOOP% expands to itself; left as typed\n%LOOP%%LOOP%");
}

TEST_F(RunCommandTest, MatchesWordsWithoutRegardToCase) {
    EXPECT_EQ(Output("ECHO Hi There"), "Hi There");
    EXPECT_EQ(Output("Echo Hi"), "Hi");
    EXPECT_EQ(Output("dirx"), "Invalid command, filename or URL");
    EXPECT_EQ(Output("settings"), "Invalid command, filename or URL");
    ASSERT_FALSE(os.shell.opens.empty());
    EXPECT_EQ(os.shell.opens.back().file, "settings");
}

TEST_F(RunCommandTest, RewritesAndDispatchesAgain) {
    os.files.AddFolder("C:\\Work");
    os.files.AddFolder("C:\\x");
    os.files.current = "C:\\Work";
    EXPECT_EQ(Output("cd.."), "");
    EXPECT_EQ(os.files.current, "C:\\");
    EXPECT_EQ(in.EvaluateText("CurDir"), "C:\\");
    EXPECT_EQ(Output("cdd\\x"), "");
    EXPECT_EQ(os.files.current, "C:\\x");
    EXPECT_EQ(Output("chdir\\Work"), "");
    EXPECT_EQ(os.files.current, "C:\\Work");
    EXPECT_EQ(Output("cd.nowhere"), "Path not found");
    EXPECT_EQ(Output("!x=1"), "");
    EXPECT_EQ(Output("?x+1"), "2");
    EXPECT_EQ(Output("!x=7|?x"), "7");
    // The separator that a value brings in splits the rewritten line.
    in.SetVar("s", "3|echo z");
    EXPECT_EQ(Output("?`s`"), "3\nz");
}

TEST_F(RunCommandTest, ExitStopsTheRestOfTheLine) {
    EXPECT_EQ(Output("exit now"), "Syntax: EXIT");
    EXPECT_EQ(host.Count("Exit"), 0);
    EXPECT_EQ(Output("exit|echo no"), "");
    EXPECT_EQ(host.Count("Exit"), 1);
}

TEST_F(RunCommandTest, SurvivesHostileLines) {
    std::string longLine = "echo " + std::string(100000, 'x');
    EXPECT_EQ(Output(longLine).size(), 100000u);
    std::string nested = "print " + std::string(10000, '(') + "1" + std::string(10000, ')');
    EXPECT_FALSE(Output(nested).empty());
    EXPECT_FALSE(Output(std::string("print \"a\0b\"", 12)).empty());
    EXPECT_FALSE(Output("print \"unclosed").empty());
    EXPECT_FALSE(Output("print 1e999").empty());
    EXPECT_FALSE(Output("print 99999999999999999999999999999*99999999999999999").empty());
    std::string markers(50000, '`');
    Output("echo " + markers);
    std::string manyNames;
    for (int i = 0; i < 3000; ++i) manyNames += "`v" + std::to_string(i) + "`";
    EXPECT_EQ(Output("echo " + manyNames).substr(0, 28), "Too many variables to expand");
    Output(std::string(1000, '|'));
    Output("\"");
    Output("\"\"");
}

TEST_F(RunCommandTest, EndlessOutputKeepsItsNewestLines) {
    in.PendingOutput().clear();
    in.PrintOut("\f");
    const std::string line(999, 'x');
    for (int i = 0; i < 20000; ++i) in.PrintOut(line + std::to_string(i % 10));
    const std::string& pending = in.PendingOutput();
    EXPECT_LE(pending.size(), Interpreter::kMaxPendingOutput);
    EXPECT_EQ(pending.substr(0, 3), "\f\r\n");
    EXPECT_EQ(pending.substr(3, 999), line);  // whole lines only
    EXPECT_EQ(pending.substr(1003, 2), "\r\n");
    EXPECT_EQ(pending.substr(pending.size() - 1000), line + "9");
}

}  // namespace
}  // namespace vantrel::testing
