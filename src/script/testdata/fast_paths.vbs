' The evaluator's fast paths (whole numbers and Doubles inline, For counters
' stepped in place, a(i) in place, calls straight into the callee's variables,
' class members found once per line) keep the general rules at their edges.
On Error Resume Next
Sub Show(label, v)
    Dim t : t = TypeName(v)
    If IsArray(v) Then WScript.Echo label, t : Exit Sub
    WScript.Echo label, t, v
End Sub
For i = 32765 To 32769 : Show "for-int", i : Next
Show "after", i
For i = 2147483646 To 2147483648 : Next
Show "for-long-end", i
For i = 1 To 3 : If i = 2 Then i = "7"
Next
Show "for-str", i
For i = 0.5 To 2 : Next
Show "for-dbl", i
For i = CByte(1) To 3 : Next
Show "for-byte", i
x = 32767 : Show "int+1", x + 1
x = 2147483647 : Show "long+1", x + 1
Show "mul", 256 * 256
Show "mulint", 100 * 100
Show "neg", -(-32768)
y = -32768 : Show "negint", -y
Show "cmp", 1 = 1.0
Show "cmp2", 2 < 2.5
Show "empty", Empty + 1
Show "str", "3" + 4
Show "strcmp", "10" < 9
Function Bump() : x = x + 100 : Bump = 1 : End Function
x = 1 : Show "order2", Bump() + x
Dim a(3)
a(1.5) = "r" : Show "round", a(2)
a("1") = "s" : Show "strsub", a(1)
a(4) = 1 : Show "oob", Err.Number : Err.Clear
Show "oobr", a(-1) : Show "oobrn", Err.Number : Err.Clear
b = a : b(0) = "b" : Show "copy", a(0) & "|" & b(0)
Class KA
    Public Name
    Private Secret
    Public Function Hi(x) : Hi = "A" & x : End Function
    Public Property Get P : P = "pa" : End Property
End Class
Class KB
    Public Function Hi(x) : Hi = "B" & x : End Function
    Public Name
End Class
For Each o In Array(New KA, New KB, New KA)
    Show "poly", o.Hi(1)
    o.Name = o.Hi(2) : Show "name", o.Name
Next
Set q = New KA
Show "priv", q.Secret : Show "n", Err.Number : Err.Clear
Show "prop", q.P
Show "missing", q.Nope : Show "n", Err.Number : Err.Clear
Sub Two(ByVal a, b) : a = a & "!" : b = b & "?" : End Sub
v1 = "x" : v2 = "y" : Two v1, v2 : Show "byval", v1 & v2
Function ChangeAndGive() : v1 = "changed" : ChangeAndGive = "z" : End Function
v1 = "x" : Two v1, ChangeAndGive() : Show "byval-late", v1
Function Fib(n) : If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)
End Function
Show "fib", Fib(15)
Dim m(2, 2) : m(1, 1) = 5 : Show "2d", m(1, 1)
Dim e(3) : e(1) = 2 : e(2) = 3 : Show "nested", e(e(1)) + e(e(e(0) + 1))
