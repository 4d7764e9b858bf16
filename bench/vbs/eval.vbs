' Eval of short expressions, 100,000 times (Wine's engine has no Eval).
t = Timer
x = 5
n = 0
For i = 1 To 100000
    n = n + Eval("x * 2 + 1")
Next
WScript.Echo "eval", Timer - t, n
