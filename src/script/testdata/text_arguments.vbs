' Text functions take long string variables without copying their text
' (values share it): the variable must read the same after the call, however
' the call ended, and a call that names the variable twice must see it twice.
' Each case shows its result as TypeName:text or #number:description, then
' what s and t hold.
s = String(298, "x") & "yz" : t = "yz" : n = 299
Set o = CreateObject("Scripting.Dictionary")
Sub Check(expression)
    On Error Resume Next
    Err.Clear
    ExecuteGlobal "Show " & expression
    If Err.Number <> 0 Then WScript.Echo "#" & Err.Number & ":" & Err.Description
    WScript.Echo Len(s) & Right(s, 3) & t
End Sub
Sub Show(value)
    WScript.Echo TypeName(value) & ":" & value
End Sub
Check "Mid(s, 299, 5)"
Check "Left(s, 3) & Right(s, 2)"
Check "Len(s)"
Check "InStr(s, s)"
Check "InStr(1, s, t)"
Check "Mid(s, 0, 1)"
Check "Mid(s, n, 2)"
Check "Asc(Mid(s, Len(s), 1))"
' Arguments worked out from plain values are read before s is lent.
Check "InStr(n - 1, s, t)"
Check "InStrRev(s, ""x"", n - 2)"
Check "InStr(1, s, Right(s & """", 2))"
Check "InStr(1, s, -n & s)"
Check "Mid(s, -(-n), 1) & Mid(s, o, 1)"
Check "InStr(o + 1, s, t)"
