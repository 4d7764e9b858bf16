// The operators as a script sees them are in testdata/operators.vbs; here
// what a script file cannot hold and the entry points called directly.
#include "script/operators.h"

#include <gtest/gtest.h>

#include "script/test_util.h"

namespace script {
namespace {

TEST(ScriptOperators, DirectCalls) {
    EXPECT_EQ(Add(Value::Integer(32767), Value::Integer(1)).type(), Type::Long);
    EXPECT_EQ(Add(Value::Long(2147483647), Value::Integer(1)).type(), Type::Double);
    // Each side read as its own type: a Long read as an Integer loses its top.
    EXPECT_EQ(Add(Value::Integer(5), Value::Long(100000)).AsLong(), 100005);
    EXPECT_EQ(Subtract(Value::Long(100000), Value::Integer(5)).AsLong(), 99995);
    EXPECT_EQ(Add(Value(), Value::String("x")).AsString(), "x");
    EXPECT_TRUE(Compare(CompareOp::kEq, Value::Null(), Value::Integer(1)).IsNull());
    bool isNull = false;
    EXPECT_EQ(CompareValues(Value::String("abc"), Value::String("ABC"), true, &isNull), 0);
    EXPECT_EQ(CompareValues(Value::String("abc"), Value::String("ABC"), false, &isNull), 1);
    EXPECT_EQ(CompareValues(Value::Integer(5), Value::String("1"), false, &isNull), -1);
    // Bytes that are not UTF-8 are read in the legacy code page: the euro
    // sign (U+20AC) after y with diaeresis (U+00FF).
    Engine engine;
    EXPECT_EQ(Show(engine, "\"\x80\" > \"\xFF\""), "Boolean:True");
}

}  // namespace
}  // namespace script
