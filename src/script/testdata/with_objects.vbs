' With blocks, Set, Nothing and object identity.
Class Point
    Public X, Y
    Public Function ToString()
        ToString = "(" & X & ", " & Y & ")"
    End Function
End Class

Dim p, q
Set p = New Point
With p
    .X = 1
    .Y = 2
    WScript.Echo .ToString()
End With
Set q = p
q.X = 10
WScript.Echo p.ToString(), p Is q, p Is Nothing
Set q = New Point
WScript.Echo p Is q, q.ToString()
Set q = Nothing
WScript.Echo q Is Nothing, IsObject(q), TypeName(q)
On Error Resume Next
q.X = 1
WScript.Echo "nothing:", Err.Number
Err.Clear
p = 5
WScript.Echo "no default:", Err.Number
Err.Clear
Set p = 5
WScript.Echo "set number:", Err.Number
