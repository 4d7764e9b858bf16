' Inputs beyond the limits end as errors, never as a crash; a byte that is not
' UTF-8 is read in the legacy code page.
On Error Resume Next
x = Eval("""unterminated")
WScript.Echo Err.Number, Err.Description : Err.Clear
x = Eval(String(400, "9"))
WScript.Echo Err.Number, Err.Description : Err.Clear
x = Space(1000000000)
WScript.Echo Err.Number, Err.Description : Err.Clear
x = String(2147483647, "x")
WScript.Echo Err.Number, Err.Description : Err.Clear
Sub Double(s)
    Do
        s = s & s
    Loop
End Sub
Double "xxxxxxxxxxxxxxxx"
WScript.Echo Err.Number, Err.Description : Err.Clear
ReDim a(100000, 100000)
WScript.Echo Err.Number, Err.Description : Err.Clear
WScript.Echo AscW("€")
