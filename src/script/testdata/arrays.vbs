' Fixed, dynamic and multi-dimensional arrays.
Dim a(2), b(), m(1, 2), i, j
a(0) = "x" : a(1) = "y" : a(2) = "z"
WScript.Echo UBound(a), Join(a, ",")
ReDim b(1)
b(0) = 1 : b(1) = 2
ReDim Preserve b(3)
b(3) = 4
WScript.Echo UBound(b), b(0), b(1), IsEmpty(b(2)), b(3)
ReDim b(0)
WScript.Echo UBound(b), IsEmpty(b(0))
For i = 0 To 1
    For j = 0 To 2
        m(i, j) = i * 10 + j
    Next
Next
WScript.Echo m(1, 2), UBound(m, 1), UBound(m, 2)

Dim c
c = a
c(0) = "changed"
WScript.Echo a(0), c(0)

Dim total
For Each i In Array(1, 2, 3, 4)
    total = total + i
Next
WScript.Echo total

Erase a
WScript.Echo "[" & a(0) & "]", UBound(a)
Erase b
On Error Resume Next
WScript.Echo UBound(b)
WScript.Echo "erased:", Err.Number
Err.Clear
WScript.Echo a(5)
WScript.Echo "range:", Err.Number
Err.Clear
ReDim a(3)
WScript.Echo "fixed:", Err.Number
On Error GoTo 0

Dim parts
parts = Split("one two three")
WScript.Echo UBound(parts), parts(2), IsArray(parts), TypeName(parts), VarType(parts)
Dim nested
nested = Array(Array(1, 2), Array(3, 4))
WScript.Echo nested(1)(0)
