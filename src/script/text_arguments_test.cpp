// Text functions take long string variables without copying their text
// (values share it): the variable must read the same after the call,
// however the call ended, and a call that names the variable twice must see
// it twice.
#include <gtest/gtest.h>

#include "script/test_util.h"

namespace script {
namespace {

TEST(ScriptTextArguments, VariableIsIntactAfterEveryKindOfCall) {
    const struct {
        const char* expression;
        const char* expected;
    } cases[] = {
        {"Mid(s, 299, 5)", "String:yz"},
        {"Left(s, 3) & Right(s, 2)", "String:xxxyz"},
        {"Len(s)", "Long:300"},
        {"InStr(s, s)", "Long:1"},
        {"InStr(1, s, t)", "Long:299"},
        {"Mid(s, 0, 1)", "#5:Invalid procedure call or argument"},
        {"Mid(s, n, 2)", "String:yz"},
        {"Asc(Mid(s, Len(s), 1))", "Integer:122"},
        // Arguments worked out from plain values are read before s is lent.
        {"InStr(n - 1, s, t)", "Long:299"},
        {"InStrRev(s, \"x\", n - 2)", "Long:297"},
        {"InStr(1, s, Right(s & \"\", 2))", "Long:299"},
        {"InStr(1, s, -n & s)", "Long:0"},
        {"Mid(s, -(-n), 1) & Mid(s, o, 1)", "#13:Type mismatch"},
        {"InStr(o + 1, s, t)", "#450:Wrong number of arguments or invalid property assignment"},
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
