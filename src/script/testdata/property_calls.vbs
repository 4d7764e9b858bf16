' Property Let and Set called from outside and inside a class, with the
' arguments passed as the procedure declares them; and the pieces Split
' makes, which share their text but change apart.
Class Cell
    Public Name
    Private value_
    Private seen_
    Public Property Get Value
        Value = value_
    End Property
    Public Property Let Value(v)
        value_ = v
    End Property
    Public Property Let At(ByRef i, ByVal v)
        value_ = i & ":" & v
        i = i + 1
        v = "changed"
    End Property
    Public Property Set Seen(o)
        Set seen_ = o
    End Property
    Public Property Get Seen
        Set Seen = seen_
    End Property
    Private Property Let Hidden(v)
        value_ = "hidden " & v
    End Property
    Public Sub SetHidden(v)
        Hidden = v
    End Sub
End Class

Set a = New Cell : a.Name = "a"
Set b = New Cell : b.Name = "b"
a.Value = 1
a.Value = a.Value + 1
WScript.Echo a.Value
n = 5 : w = "w"
a.At(n) = w
WScript.Echo a.Value, n, w
a.At(n + 1) = "x"
WScript.Echo a.Value, n
Set a.Seen = b
WScript.Echo a.Seen.Name
a.SetHidden 3
WScript.Echo a.Value

' The object is held for the call while its variable takes another.
Function Swap()
    Set a = b
    Swap = 9
End Function
Set c = a
a.At(Swap()) = "y"
WScript.Echo c.Value, a.Name, b.Value

On Error Resume Next
a.Hidden = 1
WScript.Echo Err.Number
Err.Clear
a.At(1, 2) = 3
WScript.Echo Err.Number
On Error GoTo 0

p = Split("ab ab ab")
p(0) = p(0) & "x"
q = p(1)
q = q & "y"
WScript.Echo Join(p, ","), q
WScript.Echo Join(Array(1, Empty, "s", 2.5), "|")

' Frames too large to be held inline take the general way, with the same
' passing of arguments.
Class Wide
    Public Total
    Public Property Let Many(a, b, v)
        Dim l1, l2, l3, l4, l5, l6
        l1 = a : l2 = b
        Total = l1 & l2 & v
        a = "A"
    End Property
End Class
Function Spread(ByRef x, ByVal y)
    Dim l1, l2, l3, l4, l5, l6, l7, l8
    x = x + 1 : y = y + 1
    Spread = x + y
End Function
Set g = New Wide
s = "s"
g.Many(s, 2) = 3
WScript.Echo g.Total, s
u = 1 : v = 10
WScript.Echo Spread(u, v), u, v
