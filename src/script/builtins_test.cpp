#include "script/builtins.h"

#include <gtest/gtest.h>

#include "script/test_util.h"

namespace script {
namespace {

struct ExprCase {
    const char* expression;
    const char* expected;  // TypeName:text, or #number:description
};

TEST(ScriptBuiltins, Functions) {
    const ExprCase cases[] = {
        {"CInt(2.5)", "Integer:2"},
        {"CInt(3.5)", "Integer:4"},
        {"CInt(-2.5)", "Integer:-2"},
        {"CLng(2.5)", "Long:2"},
        {"CLng(\"  12  \")", "Long:12"},
        {"CInt(\"1,000\")", "Integer:1000"},
        {"CByte(200) + CByte(100)", "Integer:300"},
        {"CByte(5) * CByte(5)", "Byte:25"},
        {"CSng(1.5) + CLng(1)", "Double:2.5"},
        {"Not CByte(1)", "Byte:254"},
        {"CByte(5) And CByte(3)", "Byte:1"},
        {"CDbl(\"1.5E3\")", "Double:1500"},
        {"CDbl(\"&H10\")", "Double:16"},
        {"CBool(\"TRUE\")", "Boolean:True"},
        {"CBool(Empty)", "Boolean:False"},
        {"CBool(\"yes\")", "#13:Type mismatch"},
        {"CLng(\"7.5\") & CLng(True)", "String:8-1"},
        {"CLng(Null)", "#94:Invalid use of Null"},
        {"CDbl(\"1e400\")", "#6:Overflow"},
        {"CStr(Empty)", "String:"},
        {"Rnd(-1) = Rnd(-1)", "Boolean:True"},
        {"Int(Rnd)", "Single:0"},
        {"CBool(\"false\")", "Boolean:False"},
        {"CBool(0.5)", "Boolean:True"},
        {"CBool(\"1\")", "Boolean:True"},
        {"CStr(True)", "String:True"},
        {"CStr(1.5)", "String:1.5"},
        {"CStr(CSng(0.1))", "String:0.1"},
        {"CStr(CDbl(CSng(0.1)))", "String:0.100000001490116"},
        {"CStr(CCur(1.23456))", "String:1.2346"},
        {"CCur(0.00005)", "Currency:0"},
        {"CCur(0.00015)", "Currency:0.0001"},
        {"Int(-2.5)", "Double:-3"},
        {"Fix(-2.5)", "Double:-2"},
        {"Int(2.5)", "Double:2"},
        {"Abs(-32768)", "Long:32768"},
        {"Abs(-1.5)", "Double:1.5"},
        {"Sqr(16)", "Double:4"},
        {"Sqr(2)", "Double:1.4142135623731"},
        {"Len(12345)", "Long:5"},
        {"Len(Null)", "Null:Null"},
        {"Len(Empty)", "Long:0"},
        {"Left(\"hello\", 10)", "String:hello"},
        {"Right(\"hello\", 2)", "String:lo"},
        {"Mid(\"hello\", 2, 2)", "String:el"},
        {"Mid(\"hello\", 10)", "String:"},
        {"InStr(\"abc\", \"\")", "Long:1"},
        {"InStr(5, \"abc\", \"c\")", "Long:0"},
        {"InStr(1, \"ABC\", \"b\", 1)", "Long:2"},
        {"InStr(1, \"ABC\", \"b\", 0)", "Long:0"},
        {"InStr(Null, \"x\")", "Null:Null"},
        {"LTrim(\"  a  \") & \"|\"", "String:a  |"},
        {"RTrim(\"  a  \") & \"|\"", "String:  a|"},
        {"Trim(vbTab & \" a \") & \"|\"", "String:\t a|"},
        {"Replace(\"aaa\", \"a\", \"b\", 2)", "String:bb"},
        {"Replace(\"aaa\", \"a\", \"b\", 1, 2)", "String:bba"},
        {"Replace(\"AbA\", \"a\", \"x\", 1, -1, 1)", "String:xbx"},
        {"UCase(\"\xE0"
         "\xE9"
         "\xEE"
         "\")",
         "String:\xC0"
         "\xC9"
         "\xCE"
         ""},
        {"LCase(\"\xC0"
         "\xC9"
         "\xCE"
         "\")",
         "String:\xE0"
         "\xE9"
         "\xEE"
         ""},
        {"CDate(\"1/2/2003\")", "Date:1/2/2003"},
        {"CDate(37623.5)", "Date:1/2/2003 12:00:00 PM"},
        {"CDate(\"3:04 PM\")", "Date:3:04:00 PM"},
        {"Year(37623)", "Integer:2003"},
        {"Month(\"2/3/2004\")", "Integer:2"},
        {"Hour(#3:04:05 PM#)", "Integer:15"},
        {"Minute(#3:04:05 PM#)", "Integer:4"},
        {"Second(#3:04:05 PM#)", "Integer:5"},
        {"CDate(-1.25)", "Date:12/29/1899 6:00:00 AM"},
        {"CLng(2147483647.4)", "Long:2147483647"},
        {"CLng(2147483647.6)", "#6:Overflow"},
        {"CInt(-32768.5)", "Integer:-32768"},
        {"CInt(-32769)", "#6:Overflow"},
        {"CByte(-1)", "#6:Overflow"},
        {"CByte(255.5)", "#6:Overflow"},
        {"TypeName(2147483647 * 2)", "String:Double"},
        {"CStr(1E-300*1E-300)", "String:0"},
        {"CStr(-0)", "String:0"},
        {"Hex(-1)", "String:FFFF"},
        {"Hex(255)", "String:FF"},
        {"Hex(65536)", "String:10000"},
        {"Oct(8)", "String:10"},
        {"Len(\"hello\")", "Long:5"},
        {"Left(\"abc\", -1)", "#5:Invalid procedure call or argument"},
        {"Left(\"abc\")", "#450:Wrong number of arguments or invalid property assignment: 'Left'"},
        {"Mid(\"abc\", 0)", "#5:Invalid procedure call or argument"},
        {"UCase(Null)", "Null:Null"},
        {"UCase(\"\x8A\x9C\x9F\xD7\xDF\")", "String:\x8A\x8C\x9F\xD7\xDF"},
        {"LCase(\"\x8A\x8C\x8E\x9F\xD7\")", "String:\x9A\x9C\x9E\xFF\xD7"},
        {"InStrRev(\"abcabc\", \"b\")", "Long:5"},
        {"InStrRev(\"abcabc\", \"b\", 4)", "Long:2"},
        {"StrComp(\"a\", \"B\")", "Integer:1"},
        {"StrComp(\"a\", \"B\", 1)", "Integer:-1"},
        {"StrReverse(\"abc\")", "String:cba"},
        {"String(3, \"xy\")", "String:xxx"},
        {"Space(2) & \"|\"", "String:  |"},
        {"Asc(\"A\")", "Integer:65"},
        {"AscW(\"\x80\")", "Integer:8364"},
        {"ChrW(8364) = Chr(128)", "Boolean:True"},
        {"Chr(256)", "#5:Invalid procedure call or argument"},
        {"CStr(Null)", "#94:Invalid use of Null"},
        {"CInt(40000)", "#6:Overflow"},
        {"CDbl(\"abc\")", "#13:Type mismatch"},
        {"Sqr(-1)", "#5:Invalid procedure call or argument"},
        {"Round(2.5)", "Double:2"},
        {"Round(3.5)", "Double:4"},
        {"Round(2.675, 2)", "Double:2.68"},
        {"Round(0.125, 2)", "Double:0.12"},
        {"Sgn(-3)", "Integer:-1"},
        {"Int(Null)", "Null:Null"},
        {"Int(\"2.5\")", "Double:2"},
        {"VarType(1)", "Integer:2"},
        {"VarType(\"\")", "Integer:8"},
        {"TypeName(Empty)", "String:Empty"},
        {"IsNumeric(\"1e3\")", "Boolean:True"},
        {"IsNumeric(\"1e\")", "Boolean:False"},
        {"IsDate(\"1/2/2003\")", "Boolean:True"},
        {"IsDate(\"13/13/2003\")", "Boolean:False"},
        {"DateSerial(2003, 13, 1)", "Date:1/1/2004"},
        {"DateSerial(99, 1, 1)", "Date:1/1/1999"},
        {"TimeSerial(25, 0, 0)", "Date:12/31/1899 1:00:00 AM"},
        {"DateAdd(\"m\", 1, #1/31/2003#)", "Date:2/28/2003"},
        {"DateAdd(\"d\", -1, #1/1/2003#)", "Date:12/31/2002"},
        {"DateDiff(\"d\", #1/1/2003#, #3/1/2003#)", "Long:59"},
        {"DateDiff(\"yyyy\", #12/31/2002#, #1/1/2003#)", "Long:1"},
        {"DatePart(\"q\", #5/5/2003#)", "Integer:2"},
        {"Weekday(#1/2/2003#)", "Integer:5"},
        {"WeekdayName(1)", "String:Sunday"},
        {"MonthName(2, True)", "String:Feb"},
        {"FormatDateTime(#1/2/2003 3:04:05 PM#, 1)", "String:Thursday, January 2, 2003"},
        {"FormatDateTime(#1/2/2003 3:04:05 PM#, 4)", "String:15:04"},
        {"UBound(Array(1, 2, 3))", "Long:2"},
        {"LBound(Array())", "Long:0"},
        {"UBound(Array())", "Long:-1"},
        {"UBound(1)", "#13:Type mismatch"},
        {"Eval(\"1 + 1\")", "Integer:2"},
        {"RGB(255, 0, 1)", "Long:65791"},
        {"ScriptEngine", "String:VBScript"},
    };
    Engine engine;
    for (const ExprCase& c : cases) {
        EXPECT_EQ(Show(engine, c.expression), c.expected) << c.expression;
    }
}

}  // namespace
}  // namespace script
