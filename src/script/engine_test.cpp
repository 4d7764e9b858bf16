#include "script/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "script/test_util.h"

namespace script {
namespace {

// One step of a session: "? expression" is evaluated and shown, any other
// text is run as statements.
struct Step {
    std::string text;
    std::string expected;  // "ok", TypeName:text, or #number:description
};

void RunSteps(Engine& engine, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        const std::string_view text = s.text;
        EXPECT_EQ(text.starts_with("? ") ? Show(engine, text.substr(2)) : Exec(engine, text),
                  s.expected)
            << text.substr(0, 80);
    }
}

// Each session runs in a fresh engine; state carries from step to step.
TEST(ScriptEngine, Sessions) {
    const std::vector<std::vector<Step>> sessions = {
        // clang-format off
        // The console assigns settings as name="value"; a name never assigned
        // reads as Empty.
        {{"? OutputKeep", "Empty:"}, {"VarString=\"hello world\"", "ok"}, {"varstring2=\"\"", "ok"},
         {"Left=\"x\"", "#501:Illegal assignment: 'Left'"},
         {"vbCrLf=\"x\"", "#501:Illegal assignment: 'vbCrLf'"},
         {"1abc=\"x\"", "#1025:Expected end of statement"},
         {"If=\"x\"", "#1023:Expected expression"},
         {"a b=\"x\"", "#13:Type mismatch: 'a'"}, {"=\"x\"", "#1024:Expected statement"},
         {"? VARSTRING", "String:hello world"}, {"? varString2", "String:"}},
        {{"x = 1 : y = x + 1", "ok"}, {"? x + y", "Integer:3"},
         {"Function Twice(n)\nTwice = n * 2\nEnd Function", "ok"}, {"? Twice(21)", "Integer:42"},
         {"? Twice", "#450:Wrong number of arguments or invalid property assignment: 'Twice'"},
         {"? Nope(1)", "#13:Type mismatch: 'Nope'"}, {"? x(1)", "#13:Type mismatch: 'x'"}},
        // Runaway recursion is an error, after which the engine still works.
        {{"Function R(n)\nR = R(n + 1)\nEnd Function", "ok"}, {"? R(1)", "#28:Out of stack space"},
         {"Sub S\nS\nEnd Sub\nS", "#28:Out of stack space"}, {"? 1 + 1", "Integer:2"}},
        // Appending to a variable is linear, whatever is appended.
        {{"s = \"\"\nFor i = 1 To 200000\ns = s & \"ab\"\nNext", "ok"}, {"? Len(s)", "Long:400000"},
         {"t = \"\"\nFor i = 1 To 100000\nt = t & \"a\" & Null & 1\nNext", "ok"},
         {"? Len(t) & Right(t, 4)", "String:200000a1a1"},
         {"n = 5 : n = n & 1 & 2", "ok"}, {"? n", "String:512"}},
        // Long chains of objects and of arrays are freed without deep recursion.
        {{"Class Node\nPublic Nxt\nEnd Class\nSet head = Nothing\nFor i = 1 To 300000\n"
          "Set n = New Node\nSet n.Nxt = head\nSet head = n\nNext\n"
          "Set n = Nothing\nSet head = Nothing", "ok"},
         {"a = Empty\nFor i = 1 To 300000\na = Array(a)\nNext\na = 0", "ok"}, {"? a", "Integer:0"}},
        // A compiled expression cached before a redefinition is not reused.
        {{"? Len(\"abc\")", "Long:3"}, {"Function Len(s)\nLen = 99\nEnd Function", "ok"},
         {"? Len(\"abc\")", "Integer:99"}},
        // Hostile inputs end as errors, never as a crash.
        {{"? " + std::string(100000, 'x'), "#1030:Identifier too long"},
         {"? " + std::string(200000, '(') + "1" + std::string(200000, ')'),
          "#28:Out of stack space"},
         {"? " + std::string("\"a\0b\"", 5) + " & \"c\"", std::string("String:a\0bc", 11)},
         {"? " + std::string("1 +\0 2", 6), "Integer:3"},
         {"? \"unterminated", "#1033:Unterminated string constant"},
         {"? " + std::string(400, '9'), "#6:Overflow"}, {"? Space(1000000000)", "#7:Out of memory"},
         {"? String(2147483647, \"x\")", "#7:Out of memory"},
         {"s = \"xxxxxxxxxxxxxxxx\"\nDo\ns = s & s\nLoop", "#7:Out of memory"},
         {"ReDim a(100000, 100000)", "#7:Out of memory"},
         {"? " + std::string(100000, '"'), "String:" + std::string(49999, '"')},
         // A byte that is not UTF-8 is read in the legacy code page.
         {"? AscW(\"\x80\")", "Integer:8364"}},
        // clang-format on
    };
    for (size_t i = 0; i < sessions.size(); ++i) {
        SCOPED_TRACE("session " + std::to_string(i));
        Engine engine;
        RunSteps(engine, sessions[i]);
    }
    // A long sum may run or run out of stack, but never crash.
    Engine engine;
    std::string sum = "1";
    for (int i = 0; i < 50000; ++i) sum += "+1";
    const std::string result = Show(engine, sum);
    EXPECT_TRUE(result == "Long:50001" || result == "#28:Out of stack space") << result;
    // The cache of compiled expressions holds many.
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(Show(engine, "1 + " + std::to_string(i)),
                  (i + 1 > 32767 ? "Long:" : "Integer:") + std::to_string(i + 1));
    }
}

// A failure is a value: its number, its text, and its place: the start of
// the statement that failed, in the text that holds it (a procedure's,
// Execute's), or of an evaluated expression. Every call starts clean.
TEST(ScriptEngine, ErrorsAreValuesWithTheirPlace) {
    const struct {
        bool isExpression;
        const char* text;
        const char* error;  // #number:description @line:column, "c" for compilation
    } cases[] = {
        {true, "  1 / 0", "#11:Division by zero @1:3"},
        {true, "Half(0)", "#11:Division by zero @2:3"},
        {true, "Eval(\" 1 / 0\")", "#11:Division by zero @1:2"},
        {false, "Execute \"x = (\"", "#1023:Expected expression @1:6c"},
        {false, "If 1 / 0 Then x = 1", "#11:Division by zero @1:1"},
        {true, "1", "#0: @0:0"},
    };
    Engine engine;
    ASSERT_EQ(Exec(engine, "Function Half(n)\n  Half = 1 / n\nEnd Function"), "ok");
    for (const auto& c : cases) {
        c.isExpression ? Show(engine, c.text) : Exec(engine, c.text);
        const Error& e = engine.LastError();
        EXPECT_EQ(Failure(engine) + " @" + std::to_string(e.line) + ":" + std::to_string(e.column) +
                      (e.compilation ? "c" : ""),
                  c.error)
            << c.text;
    }
    EXPECT_EQ(Show(engine, "1/0"), "#11:Division by zero");
    engine.ClearError();
    EXPECT_EQ(engine.LastError().number, 0);
}

// A host that enters the engine again whenever it is asked to go on, as a
// console reading its settings or a dialog's script callback does.
class ReenteringHost : public Host {
  public:
    Engine* engine = nullptr;
    int calls = 0;
    bool stop = false;
    bool KeepGoing() override {
        ++calls;
        Value ignored;
        engine->Eval("1 + 1", &ignored);
        engine->ExecuteStatement("polled = polled + 1");
        if (stop) engine->Interrupt();
        return true;
    }
};

TEST(ScriptEngine, ReentryKeepsTheStackLimitAndTheStop) {
    // Every kind of recursion that passes the host often enough: the inner
    // entries must measure from the outermost one.
    const struct {
        const char* definition;
        const char* call;
    } cases[] = {
        {"Function F(n)\nDim i\nFor i = 1 To 1100\nNext\nF = F(n + 1)\nEnd Function", "F(1)"},
        {"Function F(n)\nF = F(n + 1)\nEnd Function", "F(1)"},
        {"Class C\nFunction M(n)\nDim i\nFor i = 1 To 1100\nNext\nM = Me.M(n + 1)\nEnd "
         "Function\nEnd Class\nSet o = New C",
         "o.M(1)"},
        {"Function G(n)\nDim i\nFor i = 1 To 1100\nNext\nSet r = GetRef(\"G\")\nG = r(n + 1)\n"
         "End Function",
         "G(1)"},
        {"Sub R2(n)\nDim i\nFor i = 1 To 1100\nNext\nExecute \"R2 \" & (n + 1)\nEnd Sub", "R2(1)"},
        {"Function E2(n)\nDim i\nFor i = 1 To 1100\nNext\nE2 = Eval(\"E2(\" & (n + 1) & \")\")\n"
         "End Function",
         "E2(1)"},
    };
    for (const auto& c : cases) {
        ReenteringHost host;
        Engine engine(&host);
        host.engine = &engine;
        ASSERT_EQ(Exec(engine, c.definition), "ok") << c.definition;
        EXPECT_EQ(Show(engine, c.call), "#28:Out of stack space") << c.definition;
        EXPECT_GT(host.calls, 0) << c.definition;
        EXPECT_EQ(Show(engine, "1 + 1"), "Integer:2") << c.definition;
    }
    // A stop asked for from inside the host's callback reaches the script,
    // also in an endless For loop of numbers in a procedure, which steps its
    // counter in a loop of its own, and in a recursion with no loop at all,
    // at its next call.
    ReenteringHost host;
    Engine engine(&host);
    host.engine = &engine;
    host.stop = true;
    RunSteps(
        engine,
        {{"Do\nLoop", "#18:User interrupt occurred"},
         {"? polled > 0", "Boolean:True"},
         {"Sub Spin\nDim i, x\nFor i = 1 To 2\ni = 1\nx = i * 2 + 1\nNext\nEnd Sub\nSpin",
          "#18:User interrupt occurred"},
         {"Function F(n)\nF = F(n + 1)\nEnd Function\nx = F(1)", "#18:User interrupt occurred"}});
}

TEST(ScriptEngine, VariablesAreReadAndAssignedWithoutCompilingValues) {
    Engine engine;
    Value v;
    EXPECT_FALSE(engine.ReadVariable("never", &v));
    EXPECT_TRUE(engine.VariableNames().empty());
    ASSERT_EQ(Exec(engine,
                   "Function F\nF = 1\nEnd Function\nn = 5\nSet o = New RegExp\nSub S\nEnd Sub\n"
                   "Class C\nPublic Default Function Show\nShow = \"shown\"\nEnd Function\n"
                   "End Class\nWinX = 1\nDim zed\nSet dd = New C"),
              "ok");
    EXPECT_FALSE(engine.ReadVariable("f", &v));
    ASSERT_TRUE(engine.ReadVariable("N", &v));
    EXPECT_EQ(TypeName(v), "Integer");
    // An object's text is its default member's, which may be script code;
    // one without a default member has none.
    std::string text;
    ASSERT_TRUE(engine.ReadVariable("o", &v));
    EXPECT_FALSE(engine.ToText(v, &text));
    EXPECT_EQ(engine.LastError().number, 438);
    ASSERT_TRUE(engine.ReadVariable("dd", &v));
    EXPECT_TRUE(engine.ToText(v, &text));
    EXPECT_EQ(text, "shown");
    const std::string odd("a\" & Crash() & \"\0\xff", 18);
    ASSERT_TRUE(engine.AssignText("Odd", odd));
    EXPECT_EQ(Show(engine, "odd"), "String:" + odd);
    // Names keep the spelling of their first use; procedures and classes
    // are not variables.
    ASSERT_TRUE(engine.AssignText("winx", "2"));
    std::vector<std::string> names = engine.VariableNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Odd", "WinX", "dd", "n", "o", "zed"}));
    const struct {
        const char* name;
        const char* failure;
    } refused[] = {
        {"Left", "#501:Illegal assignment: 'Left'"},
        {"F", "#501:Illegal assignment: 'F'"},
        {"If", "#1023:Expected expression"},
        {"1abc", "#1025:Expected end of statement"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(engine.AssignText(r.name, "x")) << r.name;
        EXPECT_EQ(Failure(engine), r.failure) << r.name;
    }
}

class FixedHost : public Host {
  public:
    double Now() const override { return 37623.75; }
    std::string FormatDate(const DateParts& d) const override {
        return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
    }
};

TEST(ScriptEngine, HostSuppliesClockAndFormats) {
    FixedHost host;
    Engine engine(&host);
    // clang-format off
    RunSteps(engine, {{"? Now", "Date:2.1.2003 6:00:00 PM"}, {"? Date", "Date:2.1.2003"},
                      {"? CStr(Date) & \"\"", "String:2.1.2003"},
                      {"? #1/2/2003 1:02:03 PM#", "Date:2.1.2003 1:02:03 PM"}});
    // clang-format on
}

// Text functions take long string variables without copying their text
// (values share it): the variable must read the same after the call,
// however the call ended, and a call that names the variable twice must see
// it twice.
TEST(ScriptTextArguments, VariableIsIntactAfterEveryKindOfCall) {
    const struct {
        const char* expression;
        const char* expected;
    } cases[] = {
        // clang-format off
        {"Mid(s, 299, 5)", "String:yz"}, {"Left(s, 3) & Right(s, 2)", "String:xxxyz"},
        {"Len(s)", "Long:300"}, {"InStr(s, s)", "Long:1"}, {"InStr(1, s, t)", "Long:299"},
        {"Mid(s, 0, 1)", "#5:Invalid procedure call or argument"}, {"Mid(s, n, 2)", "String:yz"},
        {"Asc(Mid(s, Len(s), 1))", "Integer:122"},
        // Arguments worked out from plain values are read before s is lent.
        {"InStr(n - 1, s, t)", "Long:299"}, {"InStrRev(s, \"x\", n - 2)", "Long:297"},
        {"InStr(1, s, Right(s & \"\", 2))", "Long:299"}, {"InStr(1, s, -n & s)", "Long:0"},
        {"Mid(s, -(-n), 1) & Mid(s, o, 1)", "#13:Type mismatch"},
        {"InStr(o + 1, s, t)", "#450:Wrong number of arguments or invalid property assignment"},
        // clang-format on
    };
    Engine engine;
    ASSERT_EQ(Exec(engine,
                   "s = String(298, \"x\") & \"yz\" : t = \"yz\" : n = 299 : "
                   "Set o = CreateObject(\"Scripting.Dictionary\")"),
              "ok");
    for (const auto& c : cases) {
        EXPECT_EQ(Show(engine, c.expression), c.expected) << c.expression;
        EXPECT_EQ(Show(engine, "Len(s) & Right(s, 3) & t"), "String:300xyzyz") << c.expression;
    }
}

}  // namespace
}  // namespace script
