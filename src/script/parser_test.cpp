#include "script/parser.h"

#include <gtest/gtest.h>

#include "script/test_util.h"

namespace script {
namespace {

// A compile error as "number line:column", where the parser found the
// fault; "ok" when the text compiles. "? text" is compiled as an expression.
std::string CompileError(Runtime& rt, std::string_view text) {
    try {
        if (text.starts_with("? ")) {
            CompileExpression(rt, text.substr(2));
        } else {
            CompileStatements(rt, text);
        }
        return "ok";
    } catch (const ScriptError& e) {
        EXPECT_TRUE(e.compilation) << text;
        return std::to_string(e.number) + " " + std::to_string(e.line) + ":" +
               std::to_string(e.column);
    }
}

struct ErrorCase {
    const char* text;
    const char* error;
};

TEST(ScriptParser, Errors) {
    const ErrorCase cases[] = {
        // clang-format off
        // Expressions.
        {"? 1 +", "1023 1:4"}, {"? (1", "1006 1:3"},    {"? 1)", "1025 1:2"},
        {"? f(1", "1006 1:4"}, {"? \"abc", "1033 1:5"}, {"? 1 2", "1025 1:3"},
        {"? If", "1023 1:1"},  {"? ", "1023 1:1"},      {"? a..b", "1010 1:3"},
        {"? Me", "1037 1:1"},  {"? .x", "505 1:1"},     {"? x = ", "1023 1:5"},
        {"? 1 + 1", "ok"},     {"? -(-(1))", "ok"},     {"? f(, 2)", "ok"},
        {"? a.b(1).c", "ok"},  {"? Not Not x", "ok"},   {"? New Foo", "ok"},
        // Statements.
        {"x =", "1023 1:4"}, {"If x Then", "1014 1:10"}, {"If x Then\ny = 1\n", "1014 3:1"},
        {"If x\n", "1017 1:5"}, {"For i = 1\nNext", "1013 1:10"}, {"For i = 1 To 2\n", "1020 2:1"},
        {"Do\n", "1019 2:1"}, {"Loop", "1038 1:1"}, {"Next", "1055 1:1"}, {"While x\n", "1018 2:1"},
        {"Select x", "1021 1:8"}, {"Exit Do", "1039 1:1"}, {"Exit For", "1039 1:1"},
        {"Sub s\n  Exit Function\nEnd Sub", "1039 2:3"}, {"Sub s\n", "1014 2:1"},
        {"Function f\nEnd Sub", "1015 2:5"}, {"Dim x, x", "1041 1:8"},
        {"Sub s\nEnd Sub\nSub S\nEnd Sub", "1041 3:5"},
        {"Sub a\nSub b\nEnd Sub\nEnd Sub", "1024 2:1"}, {"1x = 5", "1025 1:2"},
        {"If = 5", "1023 1:4"}, {"Dim 5", "1010 1:5"}, {"x = 1 $ 2", "1032 1:7"},
        {"x = \"abc", "1033 1:9"}, {"x = 1 _ y", "1032 1:7"}, {"x = 1 _\n + 2 )", "1025 2:6"},
        {"Class C\nProperty Get\nEnd Class", "1010 2:13"},
        {"Class C\nPublic Default x\nEnd Class", "1050 2:16"},
        {"Class C\nPublic Default Property Let p(v)\nEnd Property\nEnd Class", "1058 2:16"},
        {"Class C\nSub Class_Initialize(a)\nEnd Sub\nEnd Class", "1053 2:5"},
        {"Property Get x\nEnd Property", "1048 1:1"}, {"On Error Resume", "1020 1:16"},
        {"With x\n", "1014 2:1"}, {"x = 1 y = 2", "1025 1:7"}, {"x = 1 : y = 2", "ok"},
        {"If x Then y = 1 Else y = 2", "ok"}, {"If x Then y = 1 Else y = 2 End If", "ok"},
        {"Function f(ByVal a, ByRef b)\nf = a\nEnd Function", "ok"}, {"Set o = Nothing", "ok"},
        {"Call f(1, 2)", "ok"}, {"f 1, , 3", "ok"}, {"f (1) + 2, 3", "ok"},
        {"Option Explicit", "ok"}, {"Randomize", "ok"}, {"x = 1 _\n + 2", "ok"},
        {"Dim Step, Property, Error : Step = Error", "ok"},
        // clang-format on
    };
    Runtime rt(nullptr);
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(CompileError(rt, c.text), c.error) << c.text;
    }
}

TEST(ScriptParser, DeepNestingIsAnErrorNotACrash) {
    Runtime rt(nullptr);
    const std::string minus = std::string(400000, '-') + "1";
    EXPECT_EQ(CompileError(rt, "? " + minus).substr(0, 3), "28 ");
    std::string ifs;
    for (int i = 0; i < 200000; ++i) ifs += "If x Then\n";
    EXPECT_EQ(CompileError(rt, ifs).substr(0, 3), "28 ");
    const std::string moderate = std::string(100, '(') + "1" + std::string(100, ')');
    EXPECT_EQ(CompileError(rt, "? " + moderate), "ok");
}

}  // namespace
}  // namespace script
