' A class and a variable of one name: the script fails to compile, so
' nothing of it runs, not even the line before the clash.
WScript.Echo "ran"
Class Shape
End Class
Dim Shape
