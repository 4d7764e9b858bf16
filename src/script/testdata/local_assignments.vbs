' Assignments into a procedure's own variables, which take a way of their
' own: a copy of another variable, or a value worked out. An object gives
' its default value, or fails when it has none; an array is copied.
Class Named
    Public Name
    Public Default Property Get Text
        Text = "text of " & Name
    End Property
End Class

Class Plain
    Public Name
End Class

Function Make(name)
    Set Make = New Named
    Make.Name = name
End Function

Function Copies()
    Dim o, p, x, y, a, b
    Set o = Make("o")
    x = o
    y = Make("ma" & "de")
    a = Array(1, 2)
    b = a
    b(0) = 9
    x = x
    Copies = TypeName(x) & " " & x & "|" & y & "|" & a(0) & b(0)
End Function
WScript.Echo Copies()

Function Fails()
    Dim p, x, y
    Set p = New Plain
    x = 1 : y = 2
    On Error Resume Next
    x = p
    Fails = Err.Number & " " & x
    Err.Clear
    y = Identity((p))
    Fails = Fails & " " & Err.Number & " " & y
End Function

Function Identity(v)
    Set Identity = v
End Function
WScript.Echo Fails()

' Branches of none, one and several statements, and conditions that fail
' under Resume Next.
Function Branches(n)
    Dim r
    If n < 0 Then
    ElseIf n = 0 Then
        r = "zero"
    Else
        r = "more" : r = r & n
    End If
    If n > 5 Then r = r & "!"
    Branches = r
End Function
WScript.Echo Branches(-1) & "," & Branches(0) & "," & Branches(3) & "," & Branches(7)

Function Resumes(d)
    On Error Resume Next
    If 1 / d > 0 Then Resumes = "then" Else Resumes = "else"
End Function
WScript.Echo Resumes(0), Resumes(1)
