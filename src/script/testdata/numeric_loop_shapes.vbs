' A procedure's For loops step their counters and read and write a(i) by
' quick paths that must see what the body and the statements before did: a
' counter the body changes (itself, through a ByRef alias, or into a value
' that is not whole), and each array's shape as it is now: after ReDim,
' ReDim Preserve (growing and shrinking) and Erase, with two dimensions,
' and as Array, Split, Filter and a Dictionary's Keys make it. Each array
' is summed and filled up to one past its end, which fails with 9.
Dim shared
Function Counters()
    Dim j, n, texts(0)
    For j = 1 To 10 : j = j * 2 : Next
    Counters = "lone " & j
    For j = 1 To 10 : j = j + 2 : n = n + 1 : Next
    Counters = Counters & ", two " & n & " " & j
    texts(0) = "10"
    For j = 1 To 10 : j = texts(0) : Next
    Counters = Counters & ", text " & TypeName(j) & " " & j
End Function
Sub CountAlias(j)
    For j = 1 To 10 : shared = shared + 3 : Next
End Sub
WScript.Echo Counters()
shared = 0 : CountAlias shared
WScript.Echo "alias", shared

Sub SumTo(a, last, s, j)
    s = 0
    For j = 0 To last : s = s + a(j) : Next
End Sub
Sub FillTo(a, last, j)
    For j = 0 To last : a(j) = j * 2 : Next
End Sub
Sub Probe(label, a, last)
    Dim s, j
    On Error Resume Next
    SumTo a, last, s, j
    WScript.Echo label, "sum", s, "stopped", j, Err.Number
    Err.Clear
    FillTo a, last, j
    WScript.Echo label, "fill stopped", j, Err.Number
    WScript.Echo label, "last", a(last - 1)
End Sub
Dim fixed(2), grown(), shrunk(), gone(), grid(1, 1), d
fixed(0) = 1 : fixed(1) = 2 : fixed(2) = 3
Probe "dim", fixed, 3
ReDim grown(1) : grown(0) = 5 : grown(1) = 6
ReDim Preserve grown(3)
Probe "grown", grown, 4
ReDim shrunk(5) : shrunk(0) = 7 : shrunk(1) = 8 : shrunk(5) = 9
ReDim Preserve shrunk(1)
Probe "shrunk", shrunk, 2
Erase fixed
Probe "erased", fixed, 3
ReDim gone(3) : Erase gone
Probe "gone", gone, 1
grid(0, 0) = 1 : grid(1, 0) = 2
Probe "grid", grid, 1
made = Array(1, 2, 3, 4)
Probe "array", made, 4
made = Split("10 20")
Probe "split", made, 2
made = Filter(Array("10", "x", "21"), "1")
Probe "filter", made, 2
Set d = CreateObject("Scripting.Dictionary")
d.Add 1, "a" : d.Add 2, "b" : d.Add 3, "c" : d.Remove 2
made = d.Keys
Probe "keys", made, 2
made = Array()
Probe "none", made, 0
