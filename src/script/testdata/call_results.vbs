' A function's result variable is the value its call gives, and an operator
' over two calls evaluates them left to right: what a result holds, when it
' is read, kept or dropped, and what an operator makes of two results.
Dim trail
Function Tr(v)
    trail = trail & "<" & v & ">"
    Tr = v
End Function
Sub Show(label, v)
    WScript.Echo label, TypeName(v), v
End Sub

' Two calls as operands: order, promotion and overflow.
Function Big() : Big = 32767 : End Function
Function BigLong() : BigLong = 2147483647 : End Function
Function Text(s) : Text = s : End Function
Function Nothing2() : End Function
Function NullOf() : NullOf = Null : End Function
trail = "" : Show "order", Tr(1) + Tr(2) * Tr(3) - Tr(4)
Show "trail", trail
Show "int+int", Big() + Big()
Show "int*int", Big() * Big()
Show "long+long", BigLong() + BigLong()
Show "str+str", Text("3") + Text("4")
Show "str+num", Text("3") + Big()
Show "empty+empty", Nothing2() + Nothing2()
Show "null+int", TypeName(NullOf() + Big())
Show "dbl*int", Text(1.5) * Big()
Show "cur+int", Text(CCur(1.25)) + Big()
Show "date+int", Text(#2001-02-03#) + Tr(1)
Show "byte+byte", Text(CByte(1)) + Text(CByte(2))
Show "bool+bool", Text(True) + Text(True)
Show "cmp<", Tr(1) < Tr(2)
Show "cmp=str", Text("a") = Text("A")
Show "cmp null", TypeName(NullOf() = NullOf())
trail = ""
If Tr(5) > Tr(4) Then trail = trail & "then" Else trail = trail & "else"
Show "if", trail
If NullOf() = Big() Then Show "null if", "then" Else Show "null if", "else"

' An object's default property on either side of an operator.
Class Box
    Public v
    Public Default Property Get Value
        Value = v
    End Property
    Private Sub Class_Terminate
        trail = trail & "[end " & v & "]"
    End Sub
End Class
Function NewBox(x)
    Set NewBox = New Box
    NewBox.v = x
End Function
trail = ""
Show "box+box", NewBox(2) + NewBox(3)
Show "box<box", NewBox(2) < NewBox(3)
Show "ended", trail

' The result inside the function: Empty at first, read and written.
Function Peek1()
    Show "fresh", Peek1
    Peek1 = 1
    Peek1 = Peek1 + 1
End Function
Show "peek", Peek1()
Function Acc(n)
    Acc = n
    If n > 0 Then Acc = Acc + Acc(n - 1)
End Function
Show "acc", Acc(10)
Sub Bump(ByRef x) : x = x + 10 : End Sub
Function Lent()
    Lent = 1
    Bump Lent
End Function
Show "lent", Lent()
Function Early(n)
    Early = "before"
    If n Then Exit Function
    Early = "after"
End Function
Show "exit", Early(True)
Show "no exit", Early(False)

' A result that fails part-way: the caller's variable keeps its value.
Function Fails()
    Fails = 7
    Err.Raise 5
End Function
Function Resumes()
    On Error Resume Next
    Resumes = 7
    Err.Raise 5
    Resumes = Resumes + 1
End Function
x = "kept"
On Error Resume Next
x = Fails()
Show "failed", x
Show "err", Err.Number
Err.Clear
x = Resumes()
Show "resumed", x
x = Fails() + Tr(1)
Show "failed operand", x
On Error GoTo 0

' Objects in the result: dropped when overwritten, when the caller drops
' the value, and kept when the caller keeps it.
Function Swap()
    Set Swap = NewBox("first")
    Set Swap = NewBox("second")
    trail = trail & "[swapped]"
End Function
trail = ""
Swap
Show "dropped", trail
trail = ""
Set kept = Swap()
Show "kept", trail & "|" & kept.v
trail = ""
Set kept = Nothing
Show "released", trail

'' More variables than a call keeps in its own frame: the result last, and
' the result before the procedure's own variables.
Function Nine(a, b, c, d, e, f, g, h, i)
    Nine = a + b + c + d + e + f + g + h + i
End Function
Function NineDim(a, b, c, d, e, f, g, h, i)
    Dim x, y
    x = a + b + c + d + e : y = f + g + h + i
    NineDim = x & "+" & y
End Function
Show "nine", Nine(1, 2, 3, 4, 5, 6, 7, 8, 9)
Show "nine dim", NineDim(1, 2, 3, 4, 5, 6, 7, 8, Tr("9"))

' A Property Get's result and a result that is an array.
Class Counter
    Private n
    Public Property Get Next1
        n = n + 1
        Next1 = n
    End Property
End Class
Set c = New Counter
Show "prop", c.Next1 + c.Next1
Function Pair(a, b) : Pair = Array(a, b) : End Function
p = Pair(Tr(1), Tr(2))
Show "array", p(0) + p(1)
Show "ubound", UBound(Pair(1, 2)) + UBound(Pair(3, 4))

' An instance's fields read and written where they lie: after a call that
' changes them, as array elements shared with a copy, and counted up.
Class Fields
    Public n
    Public items
    Private Sub Class_Initialize
        n = 1
        items = Array(1, 2, 3)
    End Sub
    Function Change() : n = 100 : Change = 1 : End Function
    Function SumAfter() : n = 1 : SumAfter = Change() + n : End Function
    Function Copy()
        Dim c : c = items
        items(0) = 9
        Copy = c(0) & " " & items(0)
    End Function
    Sub Count(k)
        Dim i
        For i = 1 To k : n = n + i * 2 - 1 : Next
    End Sub
    Function Cell(i) : Cell = items(i) + n : End Function
End Class
Set fo = New Fields
Show "call then field", fo.SumAfter()
Show "field copy", fo.Copy()
fo.n = 0 : fo.Count 100
Show "field count", fo.n
Show "field cell", fo.Cell(2)
fo.n = "7" : Show "field text", fo.Cell(1)
On Error Resume Next
Show "field out of range", fo.Cell(3)
Show "err", Err.Number
