#include "script/operators.h"

#include <gtest/gtest.h>

#include "script/test_util.h"

namespace script {
namespace {

struct ExprCase {
    const char* expression;
    const char* expected;  // TypeName:text, or #number:description
};

// Results checked against VBScript's documented rules; where another
// implementation disagrees (Null And False, -2^2, banker's rounding of
// CCur) the documented behaviour is what is expected here.
TEST(ScriptOperators, TypesAndValues) {
    const ExprCase cases[] = {
        {"1/3", "Double:0.333333333333333"},
        {"2^10", "Double:1024"},
        {"1/7*1E20", "Double:1.42857142857143E+19"},
        {"7\\2", "Integer:3"},
        {"-7\\2", "Integer:-3"},
        {"7 Mod 3", "Integer:1"},
        {"-7 Mod 3", "Integer:-1"},
        {"7.5 Mod 2", "Long:0"},
        {"\"a\" & 1", "String:a1"},
        {"32767+1", "Long:32768"},
        {"-32768", "Long:-32768"},
        {"-(-32768)", "Long:32768"},
        {"32767*2", "Long:65534"},
        {"2147483647+1", "Double:2147483648"},
        {"&HFFFF", "Integer:-1"},
        {"&H7FFF+1", "Long:32768"},
        {"\"10\" > 9", "Boolean:True"},
        {"\"1\" > 9", "Boolean:True"},
        {"\"10\" < \"9\"", "Boolean:True"},
        {"\"abc\" = \"ABC\"", "Boolean:False"},
        {"\"\" = Empty", "Boolean:True"},
        {"0 = Empty", "Boolean:True"},
        {"Empty + Empty", "Integer:0"},
        {"Empty & Empty", "String:"},
        {"Empty + 1", "Integer:1"},
        {"Empty + \"x\"", "String:x"},
        {"\"1\" + \"2\"", "String:12"},
        {"\"1\" + 2", "Double:3"},
        {"\"1\" - \"2\"", "Double:-1"},
        {"True + True", "Integer:-2"},
        {"True * 2", "Integer:-2"},
        {"CSng(1.5) + 1", "Single:2.5"},
        {"CCur(1.5) + 1", "Currency:2.5"},
        {"CCur(1) / 3", "Double:0.333333333333333"},
        {"CSng(1) / 3", "Single:0.3333333"},
        {"1 / 4", "Double:0.25"},
        {"5 \\ 2.5", "Long:2"},
        {"6 \\ 2.5", "Long:3"},
        {"Null + 1", "Null:Null"},
        {"Null & \"a\"", "String:a"},
        {"Null = Null", "Null:Null"},
        {"Null And False", "Boolean:False"},
        {"Null And True", "Null:Null"},
        {"Null Or True", "Boolean:True"},
        {"Null Or False", "Null:Null"},
        {"True Xor Null", "Null:Null"},
        {"Not Null", "Null:Null"},
        {"Not 0", "Integer:-1"},
        {"Not True", "Boolean:False"},
        {"5 And 3", "Integer:1"},
        {"5 Or 3", "Integer:7"},
        {"5 Xor 3", "Integer:6"},
        {"5 Eqv 3", "Integer:-7"},
        {"5 Imp 3", "Integer:-5"},
        {"True And 5", "Integer:5"},
        {"True Eqv False", "Boolean:False"},
        {"False Imp False", "Boolean:True"},
        {"-2^2", "Double:-4"},
        {"2^-1", "Double:0.5"},
        {"2^3^2", "Double:64"},
        {"(-8)^(1/3)", "#5:Invalid procedure call or argument"},
        {"0^0", "Double:1"},
        {"10 - 2 - 3", "Integer:5"},
        {"2 * 3 + 4 * 5", "Integer:26"},
        {"1 + 2 & 3 + 4", "String:37"},
        {"1 < 2 = True", "Boolean:True"},
        {"Not 1 = 2", "Boolean:True"},
        {"#1/2/2003 10:00:00 AM#", "Date:1/2/2003 10:00:00 AM"},
        {"#1/1/2000# + 1", "Date:1/2/2000"},
        {"#1/2/2000# - #1/1/2000#", "Double:1"},
        {"#1/1/2000# - 1", "Date:12/31/1999"},
        {"1E308 * 10", "#6:Overflow"},
        {"2147483647 * 2", "Double:4294967294"},
        {"1.1 + 2.2", "Double:3.3"},
        {"0.1 * 3", "Double:0.3"},
        {"100 * 1.1", "Double:110"},
        {"\"\" & 1E21", "String:1E+21"},
        {"1 + 2 * 3 ^ 2", "Double:19"},
        {"\"b\" > \"a\"", "Boolean:True"},
        {"\"a\" < \"B\"", "Boolean:False"},
        {"x Is Nothing", "#424:Object required"},
        {"Nothing Is Nothing", "Boolean:True"},
        {"Null Imp True", "Boolean:True"},
        {"Null Imp False", "Null:Null"},
        {"False Imp Null", "Boolean:True"},
        {"0 / 0", "#6:Overflow"},
        {"1 Mod 0", "#11:Division by zero"},
        {"1 \\ 0", "#11:Division by zero"},
        {"\"x\" + 1", "#13:Type mismatch"},
        {"\"x\" * 2", "#13:Type mismatch"},
        {"2147483648 \\ 1", "#6:Overflow"},
        {"CByte(255) + CByte(1)", "Integer:256"},
        {"-CByte(1)", "Integer:-1"},
        {"-(-2147483647 - 1)", "Double:2147483648"},
        {"\"\x80\" > \"\xFF\"", "Boolean:True"},
    };
    Engine engine;
    for (const ExprCase& c : cases) {
        EXPECT_EQ(Show(engine, c.expression), c.expected) << c.expression;
    }
}

TEST(ScriptOperators, DirectCalls) {
    EXPECT_EQ(Add(Value::Integer(32767), Value::Integer(1)).type(), Type::Long);
    EXPECT_EQ(Add(Value::Long(2147483647), Value::Integer(1)).type(), Type::Double);
    EXPECT_EQ(Add(Value(), Value::String("x")).AsString(), "x");
    EXPECT_TRUE(Compare(CompareOp::kEq, Value::Null(), Value::Integer(1)).IsNull());
    bool isNull = false;
    EXPECT_EQ(CompareValues(Value::String("abc"), Value::String("ABC"), true, &isNull), 0);
    EXPECT_EQ(CompareValues(Value::String("abc"), Value::String("ABC"), false, &isNull), 1);
    EXPECT_EQ(CompareValues(Value::Integer(5), Value::String("1"), false, &isNull), -1);
}

}  // namespace
}  // namespace script
