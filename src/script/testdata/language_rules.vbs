' Rules of the language that realistic scripts lean on: what a call of no
' procedure raises, numbers in the system's forms, the long date, week
' numbers, the order For Each walks an array in, deep recursion, property
' assignment without Set, and an error inside an If condition.
On Error Resume Next
x = NoSuchFunction(1)
WScript.Echo "no such function:", Err.Number, Err.Description
Err.Clear
NoSuchSub 1, 2
WScript.Echo "no such sub:", Err.Number
Err.Clear
On Error GoTo 0
WScript.Echo IsNumeric("(5)"), IsNumeric("$5"), IsNumeric("-$5"), IsNumeric("(5")
WScript.Echo CDbl("(2.5)"), CDbl("$7")
WScript.Echo FormatDateTime(#7/4/2024#, vbLongDate)
Dim a(1, 2), v, s
a(0, 0) = 1: a(0, 1) = 2: a(0, 2) = 3: a(1, 0) = 4: a(1, 1) = 5: a(1, 2) = 6
For Each v In a
    s = s & v
Next
WScript.Echo "2-D order:", s
Function Deep(n)
    If n = 0 Then Deep = 0 Else Deep = Deep(n - 1) + 1
End Function
WScript.Echo "deep:", Deep(1500)
Class Holder
    Private o
    Public Property Get P
        Set P = o
    End Property
    Public Property Set P(v)
        Set o = v
    End Property
End Class
Dim h
Set h = New Holder
On Error Resume Next
h.P = New RegExp
WScript.Echo "assigned without Set:", Err.Number
Err.Clear
If 1 / 0 = 5 Then
    WScript.Echo "the Then branch after", Err.Number
Else
    WScript.Echo "the Else branch"
End If
Err.Clear
If False Then
    WScript.Echo "no"
ElseIf CLng("x") Then
    WScript.Echo "the ElseIf branch after", Err.Number
End If
Err.Clear
x = Deep(1000000)
WScript.Echo "runaway:", Err.Number, Err.Description
WScript.Echo DatePart("ww", #1/1/2021#), DatePart("ww", #1/1/2021#, vbSunday, vbFirstFourDays)
WScript.Echo DatePart("ww", #1/4/2021#, vbMonday, vbFirstFourDays), DatePart("ww", #1/1/2022#, vbSunday, vbFirstFullWeek)
WScript.Echo DatePart("ww", #1/2/2022#, vbSunday, vbFirstFullWeek), DatePart("ww", #12/31/2024#, vbMonday, vbFirstFourDays)
