Option Explicit
' Text that compiles: expressions through Eval, where a failure while running
' is no compile error, and statements in a procedure that is never called.
Dim text, x
On Error Resume Next
For Each text In Array("1 + 1", "-(-(1))", "f(, 2)", "a.b(1).c", "Not Not x", "New Foo")
    Err.Clear
    x = Eval(text)
    WScript.Echo text & " -> " & Err.Number
Next
Sub NeverCalled
    x = 1 : y = 2
    If x Then y = 1 Else y = 2
    If x Then y = 1 Else y = 2 End If
    Set o = Nothing
    Call f(1, 2)
    f 1, , 3
    f (1) + 2, 3
    Randomize
    x = 1 _
     + 2
    Dim Step, Property, Error : Step = Error
End Sub
Function f(ByVal a, ByRef b)
    f = a
End Function
WScript.Echo "compiled"
