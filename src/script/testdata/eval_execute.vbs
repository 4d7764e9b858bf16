' Eval, Execute and ExecuteGlobal.
x = 10
WScript.Echo Eval("x * 2"), Eval("x = 10")
Execute "y = x + 1"
WScript.Echo y
Execute "Function Triple(n) : Triple = n * 3 : End Function"
WScript.Echo Triple(4)
Sub Local()
    Dim z
    z = 5
    WScript.Echo Eval("z + 1")
    ExecuteGlobal "g = 42"
End Sub
Local
WScript.Echo g
WScript.Echo ScriptEngine, ScriptEngineMajorVersion
' A failure in executed text is placed in that text, on its second line here.
Execute "y = 1" & vbCrLf & "  y = y / 0"
