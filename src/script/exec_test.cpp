#include <gtest/gtest.h>

#include "script/test_util.h"

namespace script {
namespace {

struct StatementCase {
    const char* statements;  // run first, in a fresh engine
    const char* expression;  // then evaluated
    const char* expected;    // TypeName:text or #number:description
};

template <size_t N>
void ExpectAll(const StatementCase (&cases)[N]) {
    for (const StatementCase& c : cases) {
        Engine engine;
        const std::string ran = Exec(engine, c.statements);
        const std::string result = ran == "ok" ? Show(engine, c.expression) : ran;
        EXPECT_EQ(result, c.expected) << c.statements << " ; " << c.expression;
    }
}

TEST(ScriptStatements, RunThenEvaluate) {
    const StatementCase cases[] = {
        {"For i = 1 To 3 : s = s & i : Next", "s & \"/\" & i", "String:123/4"},
        {"For i = 1 To 2 Step 0.5 : n = n + 1 : Next", "n", "Integer:3"},
        {"n = 10 : Do While n < 3 : n = n + 1 : Loop", "n", "Integer:10"},
        {"n = 10 : Do : n = n + 1 : Loop While n < 3", "n", "Integer:11"},
        {"For Each v In 5 : Next", "1", "#451:Object not a collection"},
        {"Select Case \"b\" : Case \"a\" To \"c\" : r = \"in\" : End Select", "r", "String:in"},
        {"If 0 Then r = 1 ElseIf \"\" = Empty Then r = 2", "r", "#1025:Expected end of statement"},
        {"ReDim a(1, 1) : a(0, 1) = 7 : ReDim Preserve a(1, 3)", "a(0, 1)", "Integer:7"},
        {"ReDim a(1, 1) : ReDim Preserve a(2, 1)", "1", "#9:Subscript out of range"},
        {"ReDim a(2) : For Each v In a : ReDim a(5) : Next", "1",
         "#10:This array is fixed or temporarily locked"},
        {"x = 5 : Erase x", "1", "#13:Type mismatch"},
        {"Dim m(2, 3)", "UBound(m, 3)", "#9:Subscript out of range"},
        {"Dim m(1) : m(2) = 1", "1", "#9:Subscript out of range"},
        {"ReDim a(-1)", "UBound(a)", "Long:-1"},
        {"Const k = 5 : k = 6", "k", "#501:Illegal assignment: 'k'"},
        {"Sub s(e) : ReDim arr(5) : End Sub\nReDim arr(1) : s arr(0)", "1",
         "#10:This array is fixed or temporarily locked"},
        {"Sub s(e) : e = 1 : End Sub\nReDim arr(1) : s arr(0) : ReDim arr(3)", "UBound(arr)",
         "Long:3"},
        {"Sub s(e) : e = 1 : End Sub\nx = Array(0) : y = x : s y(0)", "x(0) & y(0)", "String:01"},
        {"Function f : f = 1 : End Function\nConst c = 2 : x = f + c", "x", "Integer:3"},
        {"Sub s : Exit Sub : r = 1 : End Sub\ns", "IsEmpty(r)", "Boolean:True"},
        {"Function f() : f = Array(1, 2) : End Function", "f()(1)", "Integer:2"},
        {"Sub s(a, b) : End Sub\ns 1", "1",
         "#450:Wrong number of arguments or invalid property assignment: 's'"},
        {"Sub s(a) : End Sub\ns", "1",
         "#450:Wrong number of arguments or invalid property assignment: 's'"},
        {"On Error Resume Next : x = 1 / 0 : On Error GoTo 0", "Err.Number", "Long:0"},
        {"Err.Raise 0", "1", "#5:Invalid procedure call or argument"},
        {"Option Explicit\nSub s : Dim q : q = 1 : w = 2 : End Sub\ns", "1",
         "#500:Variable is undefined: 'w'"},
        {"o = Nothing", "1", "#91:Object variable not set"},
        {"Class C : Public v : End Class\nSet o = New C", "o.nope",
         "#438:Object doesn't support this property or method"},
        {"x = New Nope", "1", "#506:Class not defined: 'Nope'"},
        // A script's own Dim takes a library function's name for a variable.
        {"Dim Left\nLeft = 1", "Left", "Integer:1"},
        {"Class C : Public f(1) : End Class\nSet o = New C : o.f(0) = 1 : x = o.f : o.f(0) = 2",
         "x(0) & o.f(0)", "String:12"},
        {"With 5 : End With", "1", "#424:Object required"},
        {"s = \"a\" : s = s & 1 & Null", "s", "String:a1"},
        {"s = 5 : s = s & \"x\"", "s", "String:5x"},
        // Repeating a sequence takes Rnd(-1) before Randomize, as in VB.
        {"x = Rnd(-1) : Randomize 1 : a = Rnd : x = Rnd(-1) : Randomize 1 : b = Rnd", "a = b",
         "Boolean:True"},
        {"Sub s(a, b) : End Sub\ns(1, 2)", "1", "#1044:Cannot use parentheses when calling a Sub"},
        {"x = MsgBox(\"hi\")", "x", "Integer:1"},
        {"x = InputBox(\"q\", \"t\", \"default\")", "x", "String:default"},
        // A procedure's own variable may share a class's name.
        {"Class Foo\nEnd Class\nFunction P\nDim Foo\nFoo = 2\nP = Foo\nEnd Function",
         "P() & TypeName(New Foo)", "String:2Foo"},
        {"f = GetRef(\"nope\")", "1", "#5:Invalid procedure call or argument"},
        {"Set r = CreateObject(\"VBScript.RegExp\")", "TypeName(r)", "String:IRegExp2"},
        {"Set r = CreateObject(\"Scripting.FileSystemObject\")", "1",
         "#429:ActiveX component can't create object"},
    };
    ExpectAll(cases);
}

// Classes, objects and declarations carry from call to call; an error
// handler does not.
TEST(ScriptStatements, StateCarriesAcrossCalls) {
    Engine engine;
    for (const char* statements : {"Class Box\nPublic Item\nEnd Class", "Set b = New Box",
                                   "b.Item = \"kept\"", "Dim b", "On Error Resume Next"}) {
        ASSERT_EQ(Exec(engine, statements), "ok") << statements;
    }
    EXPECT_EQ(Show(engine, "TypeName(b) & b.Item"), "String:Boxkept");
    EXPECT_EQ(Exec(engine, "x = 1 / 0"), "#11:Division by zero");
}

// Execute runs in the scope of the code that calls it: inside a procedure,
// what it declares or first assigns belongs to that call and ends with it;
// ExecuteGlobal always works on the globals.
TEST(ScriptStatements, ExecuteInsideAProcedureUsesItsScope) {
    const StatementCase cases[] = {
        {"x = \"global\"\nSub P\nDim x\nx = \"local\"\nExecute \"r = x\"\nres = Eval(\"r\")\n"
         "End Sub\nres = Empty : P",
         "res & \"/\" & x & IsEmpty(r)", "String:local/globalTrue"},
        {"x = \"global\"\nFunction P\nDim x\nx = \"local\"\nExecute \"r = x\"\nP = Eval(\"r\")\n"
         "End Function",
         "P() & \"/\" & IsEmpty(r)", "String:local/True"},
        {"Function P\nExecute \"Dim y : y = 5\"\nP = Eval(\"y\")\nEnd Function", "P() & IsEmpty(y)",
         "String:5True"},
        {"Function P\nExecute \"z = 7\"\nExecute \"z = z + 1\"\nP = Eval(\"z\")\nEnd Function",
         "P() & IsEmpty(z)", "String:8True"},
        {"Function P\nExecute \"ReDim r(2) : r(1) = 9\"\nP = Eval(\"r(1)\")\nEnd Function",
         "P() & IsEmpty(r)", "String:9True"},
        {"g = 1\nSub P\nExecute \"g = g + 1\"\nEnd Sub\nP : P", "g", "Integer:3"},
        {"Sub P(a)\nExecute \"a = a * 10\"\nEnd Sub\nn = 4 : P n", "n", "Integer:40"},
        {"Sub P\nExecuteGlobal \"Dim h : h = 2\"\nEnd Sub\nP", "h", "Integer:2"},
        {"Function P\nExecute \"Execute \"\"Dim q : q = 1\"\" : r = q + 1\"\nP = Eval(\"r\")\n"
         "End Function",
         "P()", "Integer:2"},
        {"Function P\nExecute \"Const k = 3\"\nP = Eval(\"k\")\nEnd Function", "P()", "Integer:3"},
        {"Sub P\nExecute \"Const k = 3\"\nExecute \"k = 4\"\nEnd Sub\nP", "1",
         "#501:Illegal assignment: 'k'"},
        {"Sub P\nExecute \"Dim a\"\nExecute \"Dim a\"\nEnd Sub\nP", "1", "#1041:Name redefined"},
        {"Option Explicit\nSub P\nExecute \"u = 1\"\nEnd Sub\nP", "1",
         "#500:Variable is undefined: 'u'"},
        {"Option Explicit\nFunction P\nExecute \"Dim u : u = 1\"\nP = Eval(\"u\")\nEnd Function",
         "P()", "Integer:1"},
        {"Sub P\nDim a\nExecute \"Dim a\"\nEnd Sub\nP", "1", "#1041:Name redefined"},
        // Each call starts without the variables an earlier call made.
        {"Function P\nP = Eval(\"IsEmpty(v)\")\nExecute \"v = 1\"\nEnd Function\nP", "P()",
         "Boolean:True"},
    };
    ExpectAll(cases);
}

// A class and a variable of the same name are refused when the text is
// compiled, before any of it runs.
TEST(ScriptStatements, ClassAndVariableOfOneNameFailToCompile) {
    const char* const scripts[] = {
        "n = 1\nClass Foo\nEnd Class\nFoo = 1",
        "n = 1\nFoo = 1\nClass Foo\nEnd Class",
        "n = 1\nClass Foo\nEnd Class\nDim Foo",
        "n = 1\nClass Foo\nEnd Class\nSub Foo\nEnd Sub",
        "n = 1\nClass Foo\nEnd Class\nSub P\nFoo = 1\nEnd Sub",
        "n = 1\nClass Foo\nEnd Class\nFor Foo = 1 To 2 : Next",
    };
    for (const char* script : scripts) {
        Engine engine;
        EXPECT_EQ(Exec(engine, script), "#1041:Name redefined") << script;
        EXPECT_EQ(Show(engine, "n"), "Empty:") << script;
    }
}

}  // namespace
}  // namespace script
