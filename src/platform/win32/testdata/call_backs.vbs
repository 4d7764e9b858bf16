' Script code an object calls back fails: the object hears of it, and the
' script's call of the object raises it, as it would anywhere else.
Class Box
  Sub Ping : x = 1 / 0 : End Sub
End Class
Set t = CreateObject("Test.Target")
On Error Resume Next
t.Poke New Box
WScript.Echo Err.Number & " " & Err.Description
