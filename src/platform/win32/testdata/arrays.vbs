' A two-dimensional array keeps its shape, bounds and order through COM.
Set t = CreateObject("Test.Target")
Dim a(1, 2) : For i = 0 To 1 : For j = 0 To 2 : a(i, j) = i * 10 + j : Next : Next
t.Store a : r = 0 : t.Load r
WScript.Echo UBound(r, 1) & UBound(r, 2) & " " & r(1, 2) & r(0, 1)
For Each x In r : s = s & x & "," : Next : WScript.Echo s
