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
        {"For i = 3 To 1 Step -1 : s = s & i : Next", "s", "String:321"},
        {"For i = 1 To 2 Step 0.5 : n = n + 1 : Next", "n", "Integer:3"},
        {"For i = 1 To 10 : If i = 3 Then Exit For\nNext", "i", "Integer:3"},
        {"n = 0 : Do : n = n + 1 : Loop Until n >= 4", "n", "Integer:4"},
        {"n = 10 : Do While n < 3 : n = n + 1 : Loop", "n", "Integer:10"},
        {"n = 10 : Do : n = n + 1 : Loop While n < 3", "n", "Integer:11"},
        {"While n < 2 : n = n + 1 : Wend", "n", "Integer:2"},
        {"For Each v In Array(1, 2, 3) : t = t + v : Next", "t", "Integer:6"},
        {"For Each v In 5 : Next", "1", "#451:Object not a collection"},
        {"Select Case 3 : Case 1 : r = 1 : Case 2, 3 : r = 2 : End Select", "r", "Integer:2"},
        {"Select Case \"b\" : Case \"a\" To \"c\" : r = \"in\" : End Select", "r", "String:in"},
        {"Select Case 9 : Case Is < 5 : r = 1 : Case Else : r = 2 : End Select", "r", "Integer:2"},
        {"If 0 Then r = 1 ElseIf \"\" = Empty Then r = 2", "r", "#1025:Expected end of statement"},
        {"If 0 Then\nr = 1\nElseIf 1 Then\nr = 2\nElse\nr = 3\nEnd If", "r", "Integer:2"},
        {"Dim a(2) : a(1) = \"x\" : b = a : b(1) = \"y\"", "a(1) & b(1)", "String:xy"},
        {"ReDim a(1) : a(1) = 5 : ReDim Preserve a(4)", "a(1) & UBound(a)", "String:54"},
        {"ReDim a(1, 1) : a(0, 1) = 7 : ReDim Preserve a(1, 3)", "a(0, 1)", "Integer:7"},
        {"ReDim a(1, 1) : ReDim Preserve a(2, 1)", "1", "#9:Subscript out of range"},
        {"Dim a(1) : ReDim a(3)", "1", "#10:This array is fixed or temporarily locked"},
        {"ReDim a(2) : For Each v In a : ReDim a(5) : Next", "1",
         "#10:This array is fixed or temporarily locked"},
        {"Dim a(1) : a(0) = 1 : Erase a", "IsEmpty(a(0))", "Boolean:True"},
        {"ReDim a(1) : Erase a", "UBound(a)", "#9:Subscript out of range"},
        {"x = 5 : Erase x", "1", "#13:Type mismatch"},
        {"Dim m(2, 3)", "UBound(m, 2) * 10 + UBound(m, 1)", "Long:32"},
        {"Dim m(2, 3)", "UBound(m, 3)", "#9:Subscript out of range"},
        {"Dim m(1) : m(2) = 1", "1", "#9:Subscript out of range"},
        {"ReDim a(-1)", "UBound(a)", "Long:-1"},
        {"Const k = 5 : k = 6", "k", "#501:Illegal assignment: 'k'"},
        {"Const k = 5", "k * 2", "Integer:10"},
        {"Sub s(ByRef a) : a = a + 1 : End Sub\nv = 1 : s v : s (v) : Call s(v)", "v", "Integer:3"},
        {"Sub s(ByVal a) : a = 9 : End Sub\nv = 1 : s v", "v", "Integer:1"},
        {"Sub Swap(a, b) : t = a : a = b : b = t : End Sub\nx = Array(1, 2) : Swap x(0), x(1)",
         "x(0) & x(1)", "String:21"},
        {"Sub s(e) : ReDim arr(5) : End Sub\nReDim arr(1) : s arr(0)", "1",
         "#10:This array is fixed or temporarily locked"},
        {"Sub s(e) : e = 1 : End Sub\nReDim arr(1) : s arr(0) : ReDim arr(3)", "UBound(arr)",
         "Long:3"},
        {"Sub s(e) : e = 1 : End Sub\nx = Array(0) : y = x : s y(0)", "x(0) & y(0)", "String:01"},
        {"Function f : f = 1 : End Function\nConst c = 2 : x = f + c", "x", "Integer:3"},
        {"Sub s : Exit Sub : r = 1 : End Sub\ns", "IsEmpty(r)", "Boolean:True"},
        {"Function f(n) : If n = 0 Then f = 0 Else f = n + f(n - 1)\nEnd Function", "f(100)",
         "Integer:5050"},
        {"Function f() : f = Array(1, 2) : End Function", "f()(1)", "Integer:2"},
        {"Sub s(a, b) : End Sub\ns 1", "1",
         "#450:Wrong number of arguments or invalid "
         "property assignment: 's'"},
        {"Sub s(a) : End Sub\ns", "1",
         "#450:Wrong number of arguments or invalid property "
         "assignment: 's'"},
        {"On Error Resume Next : x = 1 / 0 : y = 2", "Err.Number & \"/\" & y", "String:11/2"},
        {"On Error Resume Next : x = 1 / 0 : On Error GoTo 0", "Err.Number", "Long:0"},
        {"On Error Resume Next : Err.Raise 1234, \"src\", \"text\"",
         "Err.Number & Err.Source & Err.Description", "String:1234srctext"},
        {"Err.Raise 5", "1", "#5:Invalid procedure call or argument"},
        {"Err.Raise 0", "1", "#5:Invalid procedure call or argument"},
        {"Option Explicit : Dim d : d = 1", "d", "Integer:1"},
        {"Option Explicit : u = 1", "1", "#500:Variable is undefined: 'u'"},
        {"Option Explicit\nSub s : Dim q : q = 1 : w = 2 : End Sub\ns", "1",
         "#500:Variable is undefined: 'w'"},
        {"Execute \"ex = 7\"", "ex", "Integer:7"},
        {"ExecuteGlobal \"Function g2() : g2 = 8 : End Function\"", "g2()", "Integer:8"},
        {"Sub s : ExecuteGlobal \"inner = 3\" : End Sub\ns", "inner", "Integer:3"},
        {"Sub s : Execute \"inner = 3\" : End Sub\ns", "IsEmpty(inner)", "Boolean:True"},
        {"Function f(a) : f = Eval(\"a * 2\") : End Function", "f(21)", "Integer:42"},
        {"Set r = New RegExp : r.Pattern = \"b+\"", "r.Replace(\"abbbc\", \"-\")", "String:a-c"},
        {"Set o = Nothing", "o Is Nothing", "Boolean:True"},
        {"Set o = 5", "1", "#424:Object required"},
        {"o = Nothing", "1", "#91:Object variable not set"},
        {"Class C : Public v : End Class\nSet o = New C : o.v = 3 : Set p = o : p.v = 4", "o.v",
         "Integer:4"},
        {"Class C : Public v : End Class\nSet o = New C\nWith o : .v = 9 : End With", "o.v",
         "Integer:9"},
        {"Class C : Public v : End Class\nSet o = New C", "o.nope",
         "#438:Object doesn't support this property or method"},
        {"Class C : Private v : End Class\nSet o = New C", "o.v",
         "#438:Object doesn't support this property or method"},
        {"x = New Nope", "1", "#506:Class not defined: 'Nope'"},
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
        {"Dim [a b] : [a b] = 2", "[a b] + 1", "Integer:3"},
        {"f = GetRef(\"nope\")", "1", "#5:Invalid procedure call or argument"},
        {"Set r = CreateObject(\"VBScript.RegExp\")", "TypeName(r)", "String:IRegExp2"},
        {"Set r = CreateObject(\"Scripting.FileSystemObject\")", "1",
         "#429:ActiveX component can't create object"},
    };
    ExpectAll(cases);
}

TEST(ScriptStatements, StateCarriesAcrossCalls) {
    Engine engine;
    EXPECT_EQ(Exec(engine, "Class Box\nPublic Item\nEnd Class"), "ok");
    EXPECT_EQ(Exec(engine, "Set b = New Box"), "ok");
    EXPECT_EQ(Exec(engine, "b.Item = \"kept\""), "ok");
    EXPECT_EQ(Show(engine, "b.Item"), "String:kept");
    EXPECT_EQ(Exec(engine, "Dim b"), "ok");
    EXPECT_EQ(Show(engine, "TypeName(b)"), "String:Box");
    EXPECT_EQ(Exec(engine, "On Error Resume Next"), "ok");
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
    // A procedure's own variable may share the name.
    Engine engine;
    EXPECT_EQ(
        Exec(engine, "Class Foo\nEnd Class\nFunction P\nDim Foo\nFoo = 2\nP = Foo\nEnd Function"),
        "ok");
    EXPECT_EQ(Show(engine, "P()"), "Integer:2");
    EXPECT_EQ(Show(engine, "TypeName(New Foo)"), "String:Foo");
}

}  // namespace
}  // namespace script
