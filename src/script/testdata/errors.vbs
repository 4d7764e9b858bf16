' On Error, the Err object and errors crossing procedure calls.
On Error Resume Next
x = 1 / 0
WScript.Echo Err.Number, Err.Description
Err.Clear
WScript.Echo Err.Number, "[" & Err.Description & "]"
Err.Raise 1000, "my source", "my text"
WScript.Echo Err.Number, Err.Source, Err.Description
Err.Raise 9
WScript.Echo Err.Number, Err.Description

Function Fails()
    Fails = 1
    Err.Raise 13
    Fails = 2
End Function
Err.Clear
y = Fails()
WScript.Echo "after fails", Err.Number, IsEmpty(y)

Function Guarded()
    On Error Resume Next
    Dim z
    z = CInt("abc")
    Guarded = "guarded " & Err.Number
End Function
Err.Clear
WScript.Echo Guarded()
WScript.Echo "outer", Err.Number

On Error GoTo 0
WScript.Echo "no handler"
Err.Raise 6
WScript.Echo "not reached"
