#include "script/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "script/test_util.h"
#include "text/text_cases_testing.h"

namespace script {
namespace {

// "? expression" is evaluated and shown, any other text is run as statements.
std::string Perform(Engine& engine, std::string_view text) {
    return text.starts_with("? ") ? Show(engine, text.substr(2)) : Exec(engine, text);
}

struct Step {
    std::string text;
    std::string expected;  // "ok", TypeName:text, or #number:description
};

void RunSteps(Engine& engine, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        EXPECT_EQ(Perform(engine, s.text), s.expected) << s.text.substr(0, 80);
    }
}

// A host whose clock stands at 2 January 2003, 6 PM, and that writes dates as
// D.M.YYYY.
class FixedHost : public Host {
  public:
    double Now() const override { return 37623.75; }
    std::string FormatDate(const DateParts& d) const override {
        return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
    }
};

// Each session runs in a fresh engine; state carries from step to step.
TEST(ScriptEngine, Sessions) {
    const std::vector<std::vector<Step>> sessions = {
        // clang-format off
        // Classes, objects and declarations carry from call to call; an error
        // handler does not.
        {{"Class Box\nPublic Item\nEnd Class", "ok"}, {"Set b = New Box", "ok"},
         {"b.Item = \"kept\"", "ok"}, {"Dim b", "ok"}, {"On Error Resume Next", "ok"},
         {"? TypeName(b) & b.Item", "String:Boxkept"}, {"x = 1 / 0", "#11:Division by zero"}},
        // The default host's boxes give OK and the default text.
        {{"? MsgBox(\"hi\")", "Integer:1"},
         {"? InputBox(\"q\", \"t\", \"default\")", "String:default"}},
        // The clock and the date formats come from the host.
        {{"? Now", "Date:2.1.2003 6:00:00 PM"}, {"? Date", "Date:2.1.2003"},
         {"? CStr(Date) & \"\"", "String:2.1.2003"},
         {"? #1/2/2003 1:02:03 PM#", "Date:2.1.2003 1:02:03 PM"}},
        // A compiled expression cached before a redefinition is not reused.
        {{"? Len(\"abc\")", "Long:3"}, {"Function Len(s)\nLen = 99\nEnd Function", "ok"},
         {"? Len(\"abc\")", "Integer:99"}},
        // Hostile inputs end as errors, never as a crash.
        {{"? " + std::string(100000, 'x'), "#1030:Identifier too long"},
         {"? " + std::string(200000, '(') + "1" + std::string(200000, ')'),
          "#28:Out of stack space"},
         {"? " + std::string("\"a\0b\"", 5) + " & \"c\"", std::string("String:a\0bc", 11)},
         {"? " + std::string("1 +\0 2", 6), "Integer:3"},
         {"? " + std::string(100000, '"'), "String:" + std::string(49999, '"')}},
        // clang-format on
    };
    for (size_t i = 0; i < sessions.size(); ++i) {
        SCOPED_TRACE("session " + std::to_string(i));
        FixedHost host;
        Engine engine(&host);
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
        ASSERT_EQ(Show(engine, "1 + " + std::to_string(i)), "Integer:" + std::to_string(i + 1));
    }
}

// A failure is a value: its number, its text, and its place: the start of
// the statement that failed, in the text that holds it (a procedure's,
// Execute's), or of an evaluated expression. Every call starts clean.
TEST(ScriptEngine, ErrorsAreValuesWithTheirPlace) {
    // clang-format off
    const struct { std::string text; const char* error; } cases[] = {
        // #number:description @line:column, "c" for compilation
        {"?   1 / 0", "#11:Division by zero @1:3"}, {"? Half(0)", "#11:Division by zero @2:3"},
        {"? Eval(\" 1 / 0\")", "#11:Division by zero @1:2"},
        {"Execute \"x = (\"", "#1023:Expected expression @1:6c"},
        {"If 1 / 0 Then x = 1", "#11:Division by zero @1:1"}, {"? 1", "#0: @0:0"},
        {"? " + std::string(100, '(') + "1" + std::string(100, ')'), "#0: @0:0"}};
    // clang-format on
    Engine engine;
    ASSERT_EQ(Exec(engine, "Function Half(n)\n  Half = 1 / n\nEnd Function"), "ok");
    for (const auto& c : cases) {
        Perform(engine, c.text);
        const Error& e = engine.LastError();
        EXPECT_EQ(Failure(engine) + " @" + std::to_string(e.line) + ":" + std::to_string(e.column) +
                      (e.compilation ? "c" : ""),
                  c.error)
            << c.text.substr(0, 80);
    }
    // Nesting too deep for the parser fails to compile, wherever the stack ran out.
    std::string ifs;
    for (int i = 0; i < 200000; ++i) ifs += "If x Then\n";
    EXPECT_EQ(Show(engine, std::string(400000, '-') + "1"), "#28:Out of stack space");
    EXPECT_TRUE(engine.LastError().compilation);
    EXPECT_EQ(Exec(engine, ifs), "#28:Out of stack space");
    EXPECT_TRUE(engine.LastError().compilation);
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
    for (const text::TextCase& c : text::ReadCases("src/script/testdata/reentry.txt")) {
        SCOPED_TRACE(c.where);
        ReenteringHost host;
        Engine engine(&host);
        host.engine = &engine;
        ASSERT_EQ(Exec(engine, c[1]), "ok");
        EXPECT_EQ(Show(engine, c[0]), "#28:Out of stack space");
        EXPECT_GT(host.calls, 0);
        EXPECT_EQ(Show(engine, "1 + 1"), "Integer:2");
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
    // clang-format off
    const struct { const char *name, *failure; } refused[] = {
        {"Left", "#501:Illegal assignment: 'Left'"}, {"F", "#501:Illegal assignment: 'F'"},
        {"If", "#1023:Expected expression"}, {"1abc", "#1025:Expected end of statement"}};
    // clang-format on
    for (const auto& r : refused) {
        EXPECT_FALSE(engine.AssignText(r.name, "x")) << r.name;
        EXPECT_EQ(Failure(engine), r.failure) << r.name;
    }
}

// "x = SERIAL + a + a ...": a distinct line of about `tokens` tokens, two
// characters each, as a client may send many of.
std::string LongLine(int serial, int tokens) {
    std::string line = "x = " + std::to_string(serial);
    for (int i = 3; i + 2 <= tokens; i += 2) line += " + a";
    return line;
}

// The cache's stated bound, and the share of it one text may take.
constexpr size_t kCacheCap = 24 << 20;

TEST(ScriptEngine, CacheCountsWhatCompiledTextsHold) {
    // What a compiled text holds grows with its tokens, a hundred bytes and
    // more each, not with its characters; one that alone would hold a
    // quarter of the cache is run and dropped.
    std::string statements;
    // Many statements rather than one deep expression, which a smaller
    // stack than this one would refuse as too deep.
    for (int i = 0; i < 60000; ++i) statements += "x = a: ";
    const struct {
        std::string text;
        size_t atLeast, atMost;
    } cases[] = {
        {LongLine(7, 1), 100, 4 << 10},
        {LongLine(7, 1000), 60 << 10, 400 << 10},
        {LongLine(7, 16000), 1 << 20, kCacheCap / 4},
        {statements, 0, 0},
    };
    for (const auto& c : cases) {
        Engine engine;
        ASSERT_EQ(Exec(engine, "a = 1"), "ok");
        const size_t before = engine.CachedBytes();
        ASSERT_EQ(Exec(engine, c.text), "ok") << c.text.size();
        const size_t counted = engine.CachedBytes() - before;
        EXPECT_GE(counted, c.atLeast) << c.text.size();
        EXPECT_LE(counted, c.atMost) << c.text.size();
    }
    // However many such lines come, the cache holds no more than its bound,
    // and still keeps them.
    Engine engine;
    ASSERT_EQ(Exec(engine, "a = 1"), "ok");
    size_t most = 0;
    for (int serial = 0; serial < 600; ++serial) {
        ASSERT_EQ(Exec(engine, LongLine(serial, 16000)), "ok");
        most = std::max(most, engine.CachedBytes());
    }
    EXPECT_LE(most, kCacheCap);
    EXPECT_GE(most, kCacheCap / 2);
}

}  // namespace
}  // namespace script
