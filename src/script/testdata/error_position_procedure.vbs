' A failure inside a procedure is placed there, not at the line that called it.
Function Ratio(a, b)
    Ratio = a / b
End Function
WScript.Echo Ratio(6, 3)
WScript.Echo Ratio(1, 0)
