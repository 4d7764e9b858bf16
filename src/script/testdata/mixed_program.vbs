' A small program mixing procedures, a class, loops and the library.
Dim i, j, s, arr(), d
ReDim arr(4)
For i = 0 To 4 : arr(i) = i * i : Next
s = ""
For Each j In arr : s = s & j & "," : Next
WScript.Echo s
WScript.Echo Join(arr, "-")
Function Max(a, b)
  If a > b Then Max = a Else Max = b
End Function
WScript.Echo Max(3, 7), Max("b", "a")
Class Stack
  Private items, top
  Private Sub Class_Initialize : ReDim items(10) : top = -1 : End Sub
  Public Sub Push(v) : top = top + 1 : items(top) = v : End Sub
  Public Function Pop() : Pop = items(top) : top = top - 1 : End Function
  Public Property Get Size : Size = top + 1 : End Property
End Class
Set st = New Stack
st.Push 1 : st.Push "two" : st.Push 3.5
WScript.Echo st.Size, st.Pop, st.Pop, st.Size
x = 10
Do While x > 0
  x = x - 3
  If x = 4 Then Exit Do
Loop
WScript.Echo x
WScript.Echo 5 Mod 3 + 2 ^ 2 * 3 - 1, (5 + 3) \ 2, 7 / 2
WScript.Echo CStr(#12:00:00 AM#), CStr(#1/1/2000 12:00:00 AM#)
WScript.Echo Len(CStr(1/3)), Mid("abcdef", 2, 3), InStr(1, "aXbXc", "X")
WScript.Echo UBound(Array()), IsArray(arr), VarType(arr)
s = "a"
For i = 1 To 3
  s = s & s
Next
WScript.Echo s, Len(s)
WScript.Echo TypeName(1 + 1.5), TypeName(CByte(1) + 1), TypeName("1" + 1), TypeName(True + 1)
WScript.Echo 1 = 1.0, "1" = "1.0", 0.1 + 0.2 = 0.3
Select Case "Hello"
  Case "hello" : WScript.Echo "lower"
  Case "Hello" : WScript.Echo "exact"
End Select
Function Rec(n)
  If n <= 0 Then
    Rec = ""
  Else
    Rec = n & Rec(n - 1)
  End If
End Function
WScript.Echo Rec(5)
With st
  .Push "w"
  WScript.Echo .Size
End With
WScript.Echo IsEmpty(Empty), IsNull(Null), IsEmpty(""), IsNumeric("1.5e2"), IsNumeric("")
WScript.Echo Abs(-5.5), Int(7.9), Fix(-7.9), Sgn(0), Round(-2.5), Round(-3.5)
WScript.Echo Year(#2/29/2000#), Month(#2/29/2000#), Day(#2/29/2000#), Weekday(#2/29/2000#)
WScript.Echo DateSerial(2000, 2, 29) = #2/29/2000#, DateAdd("yyyy", 1, #2/29/2000#)
WScript.Echo LCase("MiXeD"), UCase("MiXeD"), StrReverse("stressed")
WScript.Echo Replace("a.b.c", ".", ""), Split("x y z")(2)
