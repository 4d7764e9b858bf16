#include "script/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "script/test_util.h"

namespace script {
namespace {

TEST(ScriptEngine, UnassignedNameIsEmpty) {
    Engine engine;
    Value v;
    ASSERT_TRUE(engine.Eval("OutputKeep", &v));
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(engine.LastError().number, 0);
}

TEST(ScriptEngine, SetVarStatements) {
    // The console assigns settings as name="value".
    const struct {
        const char* statement;
        const char* result;
    } cases[] = {
        {"VarString=\"hello world\"", "ok"},
        {"varstring2=\"\"", "ok"},
        {"Left=\"x\"", "#501:Illegal assignment: 'Left'"},
        {"vbCrLf=\"x\"", "#501:Illegal assignment: 'vbCrLf'"},
        {"1abc=\"x\"", "#1025:Expected end of statement"},
        {"If=\"x\"", "#1023:Expected expression"},
        {"a b=\"x\"", "#13:Type mismatch: 'a'"},
        {"=\"x\"", "#1024:Expected statement"},
    };
    Engine engine;
    for (const auto& c : cases) EXPECT_EQ(Exec(engine, c.statement), c.result) << c.statement;
    EXPECT_EQ(Show(engine, "VARSTRING"), "String:hello world");
    EXPECT_EQ(Show(engine, "varString2"), "String:");
}

TEST(ScriptEngine, StatementsAndState) {
    Engine engine;
    EXPECT_EQ(Exec(engine, "x = 1 : y = x + 1"), "ok");
    EXPECT_EQ(Show(engine, "x + y"), "Integer:3");
    EXPECT_EQ(Exec(engine, "Function Twice(n)\nTwice = n * 2\nEnd Function"), "ok");
    EXPECT_EQ(Show(engine, "Twice(21)"), "Integer:42");
    EXPECT_EQ(Show(engine, "Twice"),
              "#450:Wrong number of arguments or invalid property "
              "assignment: 'Twice'");
    EXPECT_EQ(Show(engine, "Nope(1)"), "#13:Type mismatch: 'Nope'");
    EXPECT_EQ(Show(engine, "x(1)"), "#13:Type mismatch: 'x'");
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
        {false, "x = 1\n  y = 1 / 0", "#11:Division by zero @2:3"},
        {true, "  1 / 0", "#11:Division by zero @1:3"},
        {true, "Half(0)", "#11:Division by zero @2:3"},
        {true, "Eval(\" 1 / 0\")", "#11:Division by zero @1:2"},
        {false, "x = (1", "#1006:Expected ')' @1:7c"},
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

TEST(ScriptEngine, HostileInputs) {
    Engine engine;
    const std::string longLine(100000, 'x');
    EXPECT_EQ(Show(engine, longLine), "#1030:Identifier too long");
    std::string sum = "1";
    for (int i = 0; i < 50000; ++i) sum += "+1";
    const std::string result = Show(engine, sum);
    EXPECT_TRUE(result == "Long:50001" || result == "#28:Out of stack space") << result;
    EXPECT_EQ(Show(engine, std::string(200000, '(') + "1" + std::string(200000, ')')),
              "#28:Out of stack space");
    EXPECT_EQ(Show(engine, std::string("\"a\0b\"", 5) + " & \"c\""),
              std::string("String:a\0bc", 11));
    EXPECT_EQ(Show(engine, std::string("1 +\0 2", 6)), "Integer:3");
    EXPECT_EQ(Show(engine, "\"unterminated"), "#1033:Unterminated string constant");
    EXPECT_EQ(Show(engine, std::string(400, '9')), "#6:Overflow");
    EXPECT_EQ(Show(engine, "1E308 * 10"), "#6:Overflow");
    EXPECT_EQ(Show(engine, "Space(1000000000)"), "#7:Out of memory");
    EXPECT_EQ(Show(engine, "String(2147483647, \"x\")"), "#7:Out of memory");
    EXPECT_EQ(Exec(engine, "s = \"xxxxxxxxxxxxxxxx\"\nDo\ns = s & s\nLoop"), "#7:Out of memory");
    EXPECT_EQ(Exec(engine, "ReDim a(100000, 100000)"), "#7:Out of memory");
    EXPECT_EQ(Show(engine, std::string(100000, '"')), "String:" + std::string(49999, '"'));
}

TEST(ScriptEngine, RunawayRecursionIsOutOfStack) {
    Engine engine;
    EXPECT_EQ(Exec(engine, "Function R(n)\nR = R(n + 1)\nEnd Function"), "ok");
    EXPECT_EQ(Show(engine, "R(1)"), "#28:Out of stack space");
    EXPECT_EQ(Exec(engine, "Sub S\nS\nEnd Sub\nS"), "#28:Out of stack space");
    EXPECT_EQ(Show(engine, "1 + 1"), "Integer:2");
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
    // A stop asked for from inside the host's callback reaches the script.
    ReenteringHost host;
    Engine engine(&host);
    host.engine = &engine;
    host.stop = true;
    EXPECT_EQ(Exec(engine, "Do\nLoop"), "#18:User interrupt occurred");
    EXPECT_EQ(Show(engine, "polled > 0"), "Boolean:True");
    // So does one in an endless For loop of numbers in a procedure, which
    // steps its counter in a loop of its own.
    EXPECT_EQ(Exec(engine,
                   "Sub Spin\nDim i, x\nFor i = 1 To 2\ni = 1\nx = i * 2 + 1\nNext\n"
                   "End Sub\nSpin"),
              "#18:User interrupt occurred");
}

TEST(ScriptEngine, VariablesAreReadAndAssignedWithoutCompilingValues) {
    Engine engine;
    Value v;
    EXPECT_FALSE(engine.ReadVariable("never", &v));
    ASSERT_EQ(Exec(engine, "Function F\nF = 1\nEnd Function\nn = 5\nSet o = New RegExp"), "ok");
    EXPECT_FALSE(engine.ReadVariable("f", &v));
    ASSERT_TRUE(engine.ReadVariable("N", &v));
    EXPECT_EQ(TypeName(v), "Integer");
    ASSERT_TRUE(engine.ReadVariable("o", &v));
    EXPECT_TRUE(v.IsObject());
    const std::string odd("a\" & Crash() & \"\0\xff", 18);
    ASSERT_TRUE(engine.AssignText("Odd", odd));
    EXPECT_EQ(Show(engine, "odd"), "String:" + odd);
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

TEST(ScriptEngine, VariableNamesListVariablesButNotProceduresOrClasses) {
    Engine engine;
    EXPECT_TRUE(engine.VariableNames().empty());
    ASSERT_EQ(
        Exec(engine, "Sub S\nEnd Sub\nClass C\nEnd Class\nWinX = 1\nDim zed\nSet o = Nothing"),
        "ok");
    ASSERT_TRUE(engine.AssignText("Odd", "x"));
    ASSERT_TRUE(engine.AssignText("winx", "2"));
    std::vector<std::string> names = engine.VariableNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Odd", "WinX", "o", "zed"}));
}

TEST(ScriptEngine, AppendingIsLinear) {
    Engine engine;
    EXPECT_EQ(Exec(engine, "s = \"\"\nFor i = 1 To 200000\ns = s & \"ab\"\nNext"), "ok");
    EXPECT_EQ(Show(engine, "Len(s)"), "Long:400000");
    EXPECT_EQ(Exec(engine, "t = \"\"\nFor i = 1 To 100000\nt = t & \"a\" & Null & 1\nNext"), "ok");
    EXPECT_EQ(Show(engine, "Len(t) & Right(t, 4)"), "String:200000a1a1");
    EXPECT_EQ(Exec(engine, "n = 5 : n = n & 1 & 2"), "ok");
    EXPECT_EQ(Show(engine, "n"), "String:512");
}

TEST(ScriptEngine, CacheSurvivesRedefinition) {
    Engine engine;
    EXPECT_EQ(Show(engine, "Len(\"abc\")"), "Long:3");
    EXPECT_EQ(Exec(engine, "Function Len(s)\nLen = 99\nEnd Function"), "ok");
    EXPECT_EQ(Show(engine, "Len(\"abc\")"), "Integer:99");
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(Show(engine, "1 + " + std::to_string(i)),
                  (i + 1 > 32767 ? "Long:" : "Integer:") + std::to_string(i + 1));
    }
}

// Interrupt stops a loop at its next turn, and a script that only
// recurses at its next call.
TEST(ScriptEngine, InterruptStopsLoopsAndRecursion) {
    Engine engine;
    ASSERT_EQ(Exec(engine,
                   "Function F(n)\nIf n < 2 Then F = n Else F = F(n - 1) + F(n - 2)\n"
                   "End Function"),
              "ok");
    for (const char* script : {"Do\nLoop", "x = F(60)"}) {
        std::atomic<bool> done{false};
        std::thread stopper([&] {
            while (!done) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                engine.Interrupt();
            }
        });
        const std::string outcome = Exec(engine, script);
        done = true;
        stopper.join();
        EXPECT_EQ(outcome, "#18:User interrupt occurred") << script;
    }
    EXPECT_EQ(Exec(engine, "x = 1"), "ok");
}

TEST(ScriptEngine, ValueToText) {
    Engine engine;
    std::string text;
    Error err;
    EXPECT_TRUE(ToText(Value::Null(), &text, &err));
    EXPECT_EQ(text, "Null");
    EXPECT_TRUE(ToText(Value::Double(1e21), &text, &err));
    EXPECT_EQ(text, "1E+21");
    EXPECT_FALSE(ToText(Value::Array(Ref<Array>(new Array)), &text, &err));
    EXPECT_EQ(err.number, 13);
    Value v;
    ASSERT_TRUE(engine.Eval("#1/2/2003 1:02:03 PM#", &v));
    EXPECT_TRUE(engine.ToText(v, &text));
    EXPECT_EQ(text, "1/2/2003 1:02:03 PM");
    ASSERT_EQ(Exec(engine,
                   "Class D\nPublic Default Function Show\nShow = \"shown\"\nEnd Function\n"
                   "End Class\nSet dd = New D\nSet r = New RegExp"),
              "ok");
    ASSERT_TRUE(engine.Eval("dd", &v));
    EXPECT_TRUE(engine.ToText(v, &text));
    EXPECT_EQ(text, "shown");
    ASSERT_TRUE(engine.Eval("r", &v));
    EXPECT_FALSE(engine.ToText(v, &text));
    EXPECT_EQ(engine.LastError().number, 438);
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
    EXPECT_EQ(Show(engine, "Now"), "Date:2.1.2003 6:00:00 PM");
    EXPECT_EQ(Show(engine, "Date"), "Date:2.1.2003");
    EXPECT_EQ(Show(engine, "Time"), "Date:6:00:00 PM");
    EXPECT_EQ(Show(engine, "Hour(Now)"), "Integer:18");
    EXPECT_EQ(Show(engine, "CStr(Date) & \"\""), "String:2.1.2003");
}

}  // namespace
}  // namespace script
