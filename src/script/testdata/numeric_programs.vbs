' Arithmetic of two operators and more runs as a program over numbers; it
' leaves to the general rules any operand that is not an Integer, a Long or
' a Double, and widens, overflows and compares as they do.
On Error Resume Next
Sub Show(label, v)
    WScript.Echo label, TypeName(v), v
End Sub
Sub Fails(label)
    WScript.Echo label, "error", Err.Number
    Err.Clear
End Sub
x = 32767 : Show "int-long", x + 1 - 1
Show "int-int", 200 * 200 * 2
Show "long-dbl", 46341 * 46341 - 1
y = 2147483647 : Show "long+1", y + 1 + 0
Show "dbl", 1.5 * 2 + 1
Show "mixed", 3 * 0.5 - 1
z = 1E308
Show "no-over", z * 1 - 1E308
i16 = -32768 : Show "neg-int", -i16 + 0
l = CLng(-2147483647) - 1 : Show "neg-long", -l + 0
Show "neg-dbl", -(z / z) * 2 - 0
Show "cmp1", x + 1 > 32767
Show "cmp2", 0.1 + 0.2 = 0.3
Show "cmp3", 1 + 1 = 2.0
Show "cmp4", x * 2 <> 65534
Show "cmp5", y + 1 >= 2147483648
Dim e : Show "empty", e + 1 + 1
s = "5" : Show "string", s + 1 * 2
Show "string2", 2 * 3 + s
w = "w" : Show "string3", 1 + 2 + w
Fails "string3"
t = True : Show "bool", t + 1 + 1
n = Null : WScript.Echo "null", TypeName(n + 1 + 1), TypeName(1 + 1 < n)
bb = CByte(200) : Show "byte", bb + bb + 0
cc = CCur(1.5) : Show "currency", cc * 2 + 1
ss = CSng(1.5) : Show "single", ss * 2 + 1
dd = #1/1/2000# : Show "date", dd + 1 + 1
Dim arr(3)
arr(0) = 5 : arr(1) = "x" : arr(2) = 2.5
Show "elem", arr(0) * 2 + 1
Show "elem-dbl", arr(2) * 2 + arr(0)
Show "elem-str", arr(1) + 1 + 1
Fails "elem-str"
Show "elem-oob", arr(4) + 1 + 1
Fails "elem-oob"
Show "elem-round", arr(1.6) + arr(0) + 0
k = 3 : Show "elem-var", arr(k) + arr(k - 3) * 2
Show "undeclared", notSetYet + 1 + 1
Const K1 = 10 : Show "const", K1 * 2 + 1
WScript.Echo "lib", vbRed * 2 + 1
Show "chain", 1 + 2 + 3 + 4 + 5 + 6 + 7 + 8 + 9 + 10 + 11 + 12 + 13 + 14 + 15 + 16 + 17 + 18 + 19 + 20 + 21 + 22 + 23 + 24 + 25 + 26 + 27 + 28 + 29 + 30 + 31 + 32 + 33 + 34 + 35 + 36 + 37 + 38 + 39 + 40
Show "nest", 1 - (2 - (3 - (4 - (5 - (6 - (7 - (8 - (9 - (10 - (11 - (12 - (13 - (14 - (15 - (16 - (17 - (18 - 19)))))))))))))))))
For k = 1 To 2 * 3 - 1 : Next
Show "for-bounds", k
If x * 0 + 0 Then WScript.Echo "test", "yes" Else WScript.Echo "test", "no"
If x * 0 + 1 Then WScript.Echo "test2", "yes" Else WScript.Echo "test2", "no"
If w * 1 + 1 > 0 Then WScript.Echo "test3", "yes" Else WScript.Echo "test3", "no"
Fails "test3"
Function P(a, b) : P = a * b + a - b : End Function
Show "proc", P(3, 4)
Show "proc-dbl", P(1.5, 2)
Show "proc-str", P("2", 3)
Function Acc(m) : Acc = m : Acc = Acc * 2 + 1 : End Function
Show "result-var", Acc(20000)
Sub UsesGlobal() : Show "dynamic", gval * 2 + 1 : End Sub
gval = 20 : UsesGlobal
Class Holder
    Public v
    Function F() : F = v * 2 + 1 : End Function
End Class
Set o = New Holder : o.v = 16384 : Show "field", o.F()
Class D
    Public Default Property Get Value() : Value = 7 : End Property
End Class
Set od = New D : Show "default", od * 2 + 1
sum = 0
For k = 1 To 10 : sum = sum + k * k - 1 : Next
Show "loop", sum
ExecuteGlobal "Function gfun() : gfun = 3 : End Function"
Show "after-exec", sum * 1 + 0
' Assignments of numbers, and loops whose bodies are only those.
Dim shared(2), other
shared(0) = 1 : other = shared
For k = 0 To 2 : shared(k) = k * 10 + 1 : Next
WScript.Echo "copy-on-write", shared(0), shared(2), other(0), TypeName(other(2))
Dim locked(2)
For Each item In locked
    locked(1) = 5 * 2 + 1
Next
WScript.Echo "locked", locked(1)
Class Noisy
    Private Sub Class_Terminate() : WScript.Echo "terminate", counter : End Sub
End Class
counter = 7
Set keeper = New Noisy
keeper = counter * 2 + 1
WScript.Echo "replaced", TypeName(keeper), keeper
text = "abc" : text = 1 + 1 : Show "was-string", text
Dim grid(3)
For k = 0 To 3
    grid(k) = k
    grid(k) = grid(k) * grid(k) - 1
Next
WScript.Echo "grid", grid(0), grid(1), grid(2), grid(3)
For k = 1 To 10
    k = k + 3
Next
Show "counter-in-body", k
mixed = 0
For k = 1 To 4
    mixed = mixed + k
    If k = 2 Then mixed = "s" & mixed
Next
Show "mixed", mixed
Dim row(5)
For k = 0 To 5
    row(k) = k * 2
    sumRow = sumRow + row(k)
Next
Show "sum-row", sumRow
For k = 4 To 7 : row(k) = k : Next
Fails "row-oob"
For k = 32766 To 32767 : wide = k + 1 : Next
Show "counter-widen", k
Show "wide", wide
For k = 1 To 3 Step 0.5 : half = k * 2 : Next
Show "half", half
big = 2147483640
For k = 1 To 3 : big = big + 4 : Next
Show "big", big
Function Squares(n)
    Dim a(10), j
    For j = 0 To n : a(j) = j * j : Next
    Squares = a(n) + a(n - 1)
End Function
Show "squares", Squares(10)
On Error GoTo 0
On Error Resume Next
For k = 1 To 3 : risky = w * k + 1 : after = k * 2 : Next
Show "resume-next", after
Fails "resume-next"
' Loops in a procedure, whose counter is the procedure's own variable.
Function LocalLoops()
    Dim a(6), j, s, t, r
    For j = 0 To 6 : a(j) = j : Next
    For j = 0 To 6 : s = s + a(j) : Next
    r = "sum " & s
    For j = 6 To 0 Step -2 : t = t + a(j) * 2 : Next
    r = r & " down " & t & " " & j
    For j = 1 To 10 : j = j + 0.5 : t = j : Next
    r = r & " half " & j & " " & TypeName(j)
    a(3) = "7" : s = 0
    For j = 0 To 6 : s = s + a(j) : Next
    r = r & " str " & s & " " & TypeName(s)
    For j = 32765 To 32767 : t = j : Next
    r = r & " wide " & TypeName(j) & " " & TypeName(t)
    For j = 0 To 4 : a(j) = a(j + 1) - a(j) : Next
    r = r & " shift " & a(0) & " " & a(4)
    For j = 2147483645 To 2147483646 : t = j : Next
    r = r & " long " & TypeName(j) & " " & j
    LocalLoops = r
End Function
Show "local-loops", LocalLoops()
Function OutOfRange()
    Dim a(2), j
    For j = 0 To 5 : a(j) = j : Next
End Function
OutOfRange
Fails "loop-oob"
' Calls: arguments made in place, in order, and the failures between.
Function Three(a, b, c) : Three = a & "-" & b & "-" & c : End Function
Show "three", Three(1, 2 + 3, "x")
Function Bump(ByRef v) : v = v + 1 : Bump = v : End Function
w = 5 : Show "right-after", Bump(w) + w
Function Boom(v) : Err.Raise 5 : End Function
Show "mid-fail", Three(1, Boom(2), 3)
Fails "mid-fail"
Function ByValCopy(ByVal a, b) : a = a + 1 : b = b + 1 : ByValCopy = a + b : End Function
bv = 10 : Show "byval", ByValCopy(bv, bv) & " " & bv
Function Deep(n)
    If n < 1 Then Deep = 0 Else Deep = Deep(n - 1) + 1
End Function
Show "deep", Deep(400)
Function Less1(n) : Less1 = n - 1 : End Function
Show "less-int", Less1(-32768)
Show "less-str", Less1("10")
Show "less-empty", Less1(Empty)
Show "less-dbl", Less1(2.5)
Function Small(n)
    If n < 2 Then Small = "y" Else Small = "n"
End Function
Show "small", Small(1) & Small(1.5) & Small(CLng(5)) & Small(Empty) & Small(Null) & Small(True)
Class Box : Public v : End Class
Function WithIn()
    Dim b, c : Set b = New Box : Set c = New Box : b.v = 4 : c.v = 10
    With b
        .v = .v * 2 + 1
        With c : .v = .v + b.v : End With
        WithIn = .v & " " & c.v
    End With
End Function
Show "with", WithIn()
