' Subs, functions, ByRef and ByVal, recursion and references.
Function Fib(n)
    If n < 2 Then
        Fib = n
    Else
        Fib = Fib(n - 1) + Fib(n - 2)
    End If
End Function
WScript.Echo Fib(20)

Sub Twice(ByRef a, ByVal b)
    a = a * 2
    b = b * 2
End Sub
Dim x, y
x = 3 : y = 4
Twice x, y
WScript.Echo x, y
Call Twice(x, y)
WScript.Echo x, y
Twice (x), y
WScript.Echo x

Function Early(v)
    Early = "start"
    If v Then Exit Function
    Early = "end"
End Function
WScript.Echo Early(True), Early(False)

Sub Show(text)
    WScript.Echo "show: " & text
End Sub
Show "plain"
Call Show("called")

Dim counter
counter = 0
Sub Bump
    counter = counter + 1
End Sub
Bump : Bump
WScript.Echo counter

Function Implicit()
    local = 5
    Implicit = local * 2
End Function
WScript.Echo Implicit(), IsEmpty(local)

Dim f
Set f = GetRef("Fib")
WScript.Echo f(10)

Function Sum(a, b)
    Sum = a + b
End Function
WScript.Echo Sum(1, 2)
On Error Resume Next
WScript.Echo Sum(1)
WScript.Echo "args:", Err.Number
