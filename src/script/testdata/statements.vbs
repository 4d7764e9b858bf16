' Each case runs its statements as the console runs a line of them (compiled
' as one text, at global scope, as ExecuteGlobal does), then shows what an
' expression gives as TypeName:text, or the failure as #number:description.
' "|" in a case's text stands for a line break. Names differ from case to
' case so that no case sees what an earlier one left.
Sub Check(statements, expression)
    On Error Resume Next
    Err.Clear
    ExecuteGlobal Replace(statements, "|", vbLf)
    If Err.Number = 0 And expression <> "" Then ExecuteGlobal "Show " & expression
    If Err.Number <> 0 Then WScript.Echo "#" & Err.Number & ":" & Err.Description
End Sub
Sub Show(value)
    WScript.Echo TypeName(value) & ":" & value
End Sub

' The console assigns settings as name="value"; a name never assigned reads
' as Empty, and names that cannot be variables are refused.
Check "", "OutputKeep"
Check "VarString=""hello world""", ""
Check "varstring2=""""", ""
Check "Left=""x""", ""
Check "vbCrLf=""x""", ""
Check "1abc=""x""", ""
Check "If=""x""", ""
Check "a b=""x""", ""
Check "=""x""", ""
Check "", "VARSTRING"
Check "", "varString2"

' A name that is no procedure, or a procedure given the wrong arguments.
Check "x = 1 : y = x + 1", "x + y"
Check "Function Twice(n)|Twice = n * 2|End Function", "Twice(21)"
Check "", "Twice"
Check "", "Nope(1)"
Check "", "x(1)"

' Runaway recursion is an error, after which the script goes on.
Check "Function Runaway(n)|Runaway = Runaway(n + 1)|End Function", "Runaway(1)"
Check "Sub Deeper|Deeper|End Sub|Deeper", ""
Check "", "1 + 1"

' Appending to a variable is linear, whatever is appended.
Check "s1 = """"|For i = 1 To 200000|s1 = s1 & ""ab""|Next", "Len(s1)"
Check "s2 = """"|For i = 1 To 100000|s2 = s2 & ""a"" & Null & 1|Next", "Len(s2) & Right(s2, 4)"
Check "s3 = 5 : s3 = s3 & 1 & 2", "s3"

' Long chains of objects and of arrays are freed without deep recursion.
Check "Class Node|Public Nxt|End Class|Set head = Nothing|For i = 1 To 300000|Set nd = New Node|Set nd.Nxt = head|Set head = nd|Next|Set nd = Nothing|Set head = Nothing", ""
Check "nest = Empty|For i = 1 To 300000|nest = Array(nest)|Next|nest = 0", "nest"

' A class and a variable of one name are refused when the text is compiled,
' before any of it runs: ran stays Empty.
Check "ran = 1|Class Foo|End Class|Foo = 1", ""
Check "ran = 1|Foo = 1|Class Foo|End Class", ""
Check "ran = 1|Class Foo|End Class|Dim Foo", ""
Check "ran = 1|Class Foo|End Class|Sub Foo|End Sub", ""
Check "ran = 1|Class Foo|End Class|Sub P|Foo = 1|End Sub", ""
Check "ran = 1|Class Foo|End Class|For Foo = 1 To 2 : Next", ""
Check "", "ran"

' Loops, choices and arrays.
Check "For i = 1 To 3 : s = s & i : Next", "s & ""/"" & i"
Check "For j = 1 To 2 Step 0.5 : n = n + 1 : Next", "n"
Check "n = 10 : Do While n < 3 : n = n + 1 : Loop", "n"
Check "n = 10 : Do : n = n + 1 : Loop While n < 3", "n"
Check "For Each v In 5 : Next", ""
Check "Select Case ""b"" : Case ""a"" To ""c"" : r = ""in"" : End Select", "r"
Check "If 0 Then r = 1 ElseIf """" = Empty Then r = 2", ""
Check "ReDim a(1, 1) : a(0, 1) = 7 : ReDim Preserve a(1, 3)", "a(0, 1)"
Check "ReDim a(1, 1) : ReDim Preserve a(2, 1)", ""
Check "ReDim a(2) : For Each v In a : ReDim a(5) : Next", ""
Check "x = 5 : Erase x", ""
Check "Dim m(2, 3)", "UBound(m, 3)"
Check "Dim m1(1) : m1(2) = 1", ""
Check "ReDim a(-1)", "UBound(a)"
Check "Const k = 5 : k = 6", "k"
' An array item passed by reference locks its array for the call.
Check "Sub Grow(e) : ReDim arr(5) : End Sub|ReDim arr(1) : Grow arr(0)", ""
Check "Sub Put1(e) : e = 1 : End Sub|ReDim arr(1) : Put1 arr(0) : ReDim arr(3)", "UBound(arr)"
Check "Sub Put2(e) : e = 1 : End Sub|x = Array(0) : y = x : Put2 y(0)", "x(0) & y(0)"

' Procedures, errors and objects.
Check "Function One : One = 1 : End Function|Const c = 2 : x = One + c", "x"
Check "Sub Early : Exit Sub : skipped = 1 : End Sub|Early", "IsEmpty(skipped)"
Check "Function Pair() : Pair = Array(1, 2) : End Function", "Pair()(1)"
Check "Sub Two(a, b) : End Sub|Two 1", ""
Check "Sub Lone(a) : End Sub|Lone", ""
Check "On Error Resume Next : x = 1 / 0 : On Error GoTo 0", "Err.Number"
Check "Err.Raise 0", ""
Check "o = Nothing", ""
Check "Class C : Public v : End Class|Set o = New C", "o.nope"
Check "x = New Nope", ""
Check "Class C2 : Public f(1) : End Class|Set o = New C2 : o.f(0) = 1 : x = o.f : o.f(0) = 2", "x(0) & o.f(0)"
Check "With 5 : End With", ""
Check "s = ""a"" : s = s & 1 & Null", "s"
Check "s = 5 : s = s & ""x""", "s"
' Repeating a sequence takes Rnd(-1) before Randomize, as in VB.
Check "x = Rnd(-1) : Randomize 1 : ra = Rnd : x = Rnd(-1) : Randomize 1 : rb = Rnd", "ra = rb"
Check "Sub Both(a, b) : End Sub|Both(1, 2)", ""
' A procedure's own variable may share a class's name.
Check "Class Bar|End Class|Function P|Dim Bar|Bar = 2|P = Bar|End Function", "P() & TypeName(New Bar)"
Check "f = GetRef(""nope"")", ""
Check "Set r = CreateObject(""VBScript.RegExp"")", "TypeName(r)"
Check "Set r = CreateObject(""Scripting.FileSystemObject"")", ""
' A script's own Dim takes a library function's name for a variable.
Check "Dim Left|Left = 1", "Left"

' Execute runs in the scope of the code that calls it: inside a procedure,
' what it declares or first assigns belongs to that call and ends with it;
' ExecuteGlobal always works on the globals.
Check "g1 = ""global""|Sub E1|Dim g1|g1 = ""local""|Execute ""r1 = g1""|res = Eval(""r1"")|End Sub|res = Empty : E1", "res & ""/"" & g1 & IsEmpty(r1)"
Check "g2 = ""global""|Function E2|Dim g2|g2 = ""local""|Execute ""r2 = g2""|E2 = Eval(""r2"")|End Function", "E2() & ""/"" & IsEmpty(r2)"
Check "Function E3|Execute ""Dim y3 : y3 = 5""|E3 = Eval(""y3"")|End Function", "E3() & IsEmpty(y3)"
Check "Function E4|Execute ""z4 = 7""|Execute ""z4 = z4 + 1""|E4 = Eval(""z4"")|End Function", "E4() & IsEmpty(z4)"
Check "Function E5|Execute ""ReDim r5(2) : r5(1) = 9""|E5 = Eval(""r5(1)"")|End Function", "E5() & IsEmpty(r5)"
Check "g6 = 1|Sub E6|Execute ""g6 = g6 + 1""|End Sub|E6 : E6", "g6"
Check "Sub E7(a)|Execute ""a = a * 10""|End Sub|n7 = 4 : E7 n7", "n7"
Check "Sub E8|ExecuteGlobal ""Dim h8 : h8 = 2""|End Sub|E8", "h8"
Check "Function E9|Execute ""Execute """"Dim q9 : q9 = 1"""" : r9 = q9 + 1""|E9 = Eval(""r9"")|End Function", "E9()"
Check "Function E10|Execute ""Const k10 = 3""|E10 = Eval(""k10"")|End Function", "E10()"
Check "Sub E11|Execute ""Const k11 = 3""|Execute ""k11 = 4""|End Sub|E11", ""
Check "Sub E12|Execute ""Dim a12""|Execute ""Dim a12""|End Sub|E12", ""
Check "Sub E13|Dim a13|Execute ""Dim a13""|End Sub|E13", ""
' Each call starts without the variables an earlier call made.
Check "Function E14|E14 = Eval(""IsEmpty(v14)"")|Execute ""v14 = 1""|End Function|E14", "E14()"

' Option Explicit holds for every later text, so its cases come last.
Check "Option Explicit|Sub X1 : Dim q : q = 1 : w = 2 : End Sub|X1", ""
Check "Option Explicit|Sub X2|Execute ""u2 = 1""|End Sub|X2", ""
Check "Option Explicit|Function X3|Execute ""Dim u3 : u3 = 1""|X3 = Eval(""u3"")|End Function", "X3()"
