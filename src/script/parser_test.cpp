#include "script/parser.h"

#include <gtest/gtest.h>

#include "script/test_util.h"

namespace script {
namespace {

struct ErrorCase {
    const char* text;
    int number;
};

int CompileError(Runtime& rt, std::string_view text, bool expression) {
    try {
        if (expression) {
            CompileExpression(rt, text);
        } else {
            CompileStatements(rt, text);
        }
        return 0;
    } catch (const ScriptError& e) {
        return e.number;
    }
}

TEST(ScriptParser, ExpressionErrors) {
    const ErrorCase cases[] = {
        {"1 +", 1023},   {"(1", 1006},     {"1)", 1025},   {"f(1", 1006},  {"\"abc", 1033},
        {"1 2", 1025},   {"If", 1023},     {"", 1023},     {"a..b", 1010}, {"Me", 1037},
        {".x", 505},     {"x = ", 1023},   {"1 + 1", 0},   {"-(-(1))", 0}, {"f(, 2)", 0},
        {"a.b(1).c", 0}, {"Not Not x", 0}, {"New Foo", 0},
    };
    Runtime rt(nullptr);
    for (const ErrorCase& c : cases) EXPECT_EQ(CompileError(rt, c.text, true), c.number) << c.text;
}

TEST(ScriptParser, StatementErrors) {
    const ErrorCase cases[] = {
        {"x =", 1023},
        {"If x Then", 1014},
        {"If x Then\ny = 1\n", 1014},
        {"If x\n", 1017},
        {"For i = 1\nNext", 1013},
        {"For i = 1 To 2\n", 1020},
        {"Do\n", 1019},
        {"Loop", 1038},
        {"Next", 1055},
        {"While x\n", 1018},
        {"Select x", 1021},
        {"Exit Do", 1039},
        {"Exit For", 1039},
        {"Sub s\nExit Function\nEnd Sub", 1039},
        {"Sub s\n", 1014},
        {"Function f\nEnd Sub", 1015},
        {"Dim x, x", 1041},
        {"Sub a\nSub b\nEnd Sub\nEnd Sub", 1024},
        {"1x = 5", 1025},
        {"If = 5", 1023},
        {"Dim 5", 1010},
        {"Class C\nProperty Get\nEnd Class", 1010},
        {"Class C\nPublic Default x\nEnd Class", 1050},
        {"Class C\nSub Class_Initialize(a)\nEnd Sub\nEnd Class", 1053},
        {"Property Get x\nEnd Property", 1048},
        {"On Error Resume", 1020},
        {"With x\n", 1014},
        {"x = 1 y = 2", 1025},
        {"x = 1 : y = 2", 0},
        {"If x Then y = 1 Else y = 2", 0},
        {"If x Then y = 1 Else y = 2 End If", 0},
        {"Function f(ByVal a, ByRef b)\nf = a\nEnd Function", 0},
        {"Set o = Nothing", 0},
        {"Call f(1, 2)", 0},
        {"f 1, , 3", 0},
        {"f (1) + 2, 3", 0},
        {"Option Explicit", 0},
        {"Randomize", 0},
        {"x = 1 _\n + 2", 0},
    };
    Runtime rt(nullptr);
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(CompileError(rt, c.text, false), c.number) << c.text;
    }
}

TEST(ScriptParser, DeepNestingIsAnErrorNotACrash) {
    Runtime rt(nullptr);
    const std::string deep = std::string(10000, '(') + "1" + std::string(10000, ')');
    EXPECT_EQ(CompileError(rt, deep, true), kErrOutOfStack);
    const std::string minus = std::string(100000, '-') + "1";
    EXPECT_EQ(CompileError(rt, minus, true), kErrOutOfStack);
    std::string ifs;
    for (int i = 0; i < 20000; ++i) ifs += "If x Then\n";
    EXPECT_EQ(CompileError(rt, ifs, false), kErrOutOfStack);
    const std::string moderate = std::string(100, '(') + "1" + std::string(100, ')');
    EXPECT_EQ(CompileError(rt, moderate, true), 0);
}

TEST(ScriptParser, NamesBindOnce) {
    Runtime rt(nullptr);
    auto unit = CompileStatements(rt, "Dim Left\nLeft = 1");
    EXPECT_TRUE(unit->declaredNames.size() == 1 && unit->declaredNames[0] == "left");
    EXPECT_GE(rt.FindGlobal("left"), 0);
}

}  // namespace
}  // namespace script
