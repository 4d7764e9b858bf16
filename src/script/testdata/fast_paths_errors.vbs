' The evaluator's fast paths where this engine's rules are its own or the
' system's script host differs: overflow of a Double, Null, a variable read
' before a call that changes it, an array replaced while its subscript is
' worked out, arguments missing or too few, deep recursion, a constant as a
' For counter, one subscript for two dimensions, and a default member that
' ReDims the array whose element it is compared with, and arithmetic that
' Execute compiles inside a procedure, over the procedure's own variables;
' a For counter that is a ByRef parameter, stepped through the caller's
' variable, n - 1 at the Long's lower edge, and two calls' results that
' overflow a Long or a Byte, a call with too many arguments, and a field
' read before a call that changes it.
On Error Resume Next
Sub Show(label, v)
    WScript.Echo label, TypeName(v), v & ""
End Sub
z = 1E308 : w = z * 10 : Show "ovf", Err.Number : Err.Clear
w = z * 10 + 1 : Show "ovf-program", Err.Number : Err.Clear
w = 1 - z * 10 * 1 : Show "ovf-program2", Err.Number : Err.Clear
Show "null", Null + 1
Function Bump() : x = x + 100 : Bump = 1 : End Function
x = 1 : Show "order", x + Bump()
Function Shrink() : ReDim c(0) : Shrink = 2 : End Function
ReDim c(5) : c(Shrink()) = 1 : Show "redim-in-sub", Err.Number : Err.Clear
ReDim c(5) : Show "redim-read", c(Shrink()) : Show "n", Err.Number : Err.Clear
s = "abc" : Show "notarr", s(1) : Show "n", Err.Number : Err.Clear
Class KA
    Public Function Hi(x) : Hi = "A" & x : End Function
End Class
Set q = New KA
Show "args", q.Hi() : Show "n", Err.Number : Err.Clear
Sub Two(ByVal a, b) : a = a & "!" : b = b & "?" : End Sub
Two , v2 : Show "missingarg", Err.Number : Err.Clear
Function Deep(n) : Deep = Deep(n + 1) : End Function
Deep 1 : Show "deep", Err.Number & " " & Err.Description : Err.Clear
Const K = 3
For K = 1 To 2 : Next : Show "constfor", Err.Number : Err.Clear
Dim m(2, 2) : Show "2d1", m(1) : Show "n", Err.Number : Err.Clear
Class Shrinker
    Public Default Property Get Value
        ReDim arr(0) : arr(0) = "new" : y = "changed" : Value = "old"
    End Property
End Class
Set shr = New Shrinker
ReDim arr(3) : arr(0) = "old" : y = "same"
Show "default-then-element", shr = arr(0)
y = "same" : Show "default-then-variable", shr & y
Sub Ex() : Dim q : q = 4 : Execute "Show ""execute"", q * q + 1" : End Sub
Ex
Sub CountInto(c)
    For c = 1 To 3 : total = total + c : Next
End Sub
total = 0 : CountInto gc : Show "byref-counter", gc & " " & total
Sub Aliased(c)
    For c = 1 To 10 : gAlias = c * 3 : Next
End Sub
gAlias = 0 : Aliased gAlias : Show "alias", gAlias
Function Less1(n) : Less1 = n - 1 : End Function
Show "less-long", Less1(CLng(-2147483647) - 1)
Function Same(v) : Same = v : End Function
Show "calls-long-overflow", -Same(2147483647) - Same(2147483647)
Show "calls-byte-underflow", Same(CByte(1)) - Same(CByte(2))
Show "calls-arity", Same(1, 2) : Show "n", Err.Number : Err.Clear
Class FieldFirst
    Public n
    Function Change() : n = 100 : Change = 1 : End Function
    Function Sum() : n = 1 : Sum = n + Change() : End Function
End Class
Set ff = New FieldFirst : Show "field-then-call", ff.Sum()
