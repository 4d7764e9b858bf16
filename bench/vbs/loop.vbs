' Arithmetic in a For loop: 3,000,000 turns of integer and floating work.
t = Timer
total = 0
For i = 1 To 3000000
    total = total + i * 2 - 1
Next
WScript.Echo "loop", Timer - t, total
