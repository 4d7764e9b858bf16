' 200,000 appends to one growing string, then 200,000 Mid calls over it.
t = Timer
s = ""
For i = 1 To 200000
    s = s & "x"
Next
n = 0
For i = 1 To 200000
    If Mid(s, i, 1) = "x" Then n = n + 1
Next
WScript.Echo "strings", Timer - t, Len(s), n
