' Branches and loops of every form.
Dim i, s, n
For i = 1 To 10 Step 3
    s = s & i & " "
Next
WScript.Echo s
s = ""
For i = 5 To 1 Step -2 : s = s & i : Next
WScript.Echo s
For i = 1 To 0
    WScript.Echo "never"
Next
WScript.Echo "after empty loop", i

For Each n In Array("a", "b", "c")
    If n = "b" Then
        WScript.Echo "found b"
    ElseIf n = "c" Then
        WScript.Echo "found c"
    Else
        WScript.Echo "other " & n
    End If
Next

n = 0
Do While n < 3
    n = n + 1
Loop
WScript.Echo "while", n
Do Until n = 0
    n = n - 1
Loop
WScript.Echo "until", n
Do
    n = n + 1
Loop While n < 5
WScript.Echo "loop while", n
Do
    n = n + 1
    If n = 8 Then Exit Do
Loop
WScript.Echo "exit do", n
Do
    n = n - 1
Loop Until n <= 2
WScript.Echo "loop until", n
While n < 4
    n = n + 1
Wend
WScript.Echo "wend", n

For i = 1 To 100
    If i = 4 Then Exit For
Next
WScript.Echo "exit for", i

Function Kind(v)
    Select Case v
        Case 1, 2
            Kind = "small"
        Case 3 To 5
            Kind = "medium"
        Case "x"
            Kind = "letter"
        Case Is > 100
            ' A string is greater than any number, so this also takes "y".
            Kind = "huge"
        Case Else
            Kind = "other"
    End Select
End Function
WScript.Echo Kind(2), Kind(4), Kind(500), Kind("x"), Kind("y"), Kind(50)

If n = 4 Then WScript.Echo "single line" Else WScript.Echo "wrong"
If n = 5 Then WScript.Echo "wrong" Else WScript.Echo "single else"
If Null Then WScript.Echo "null is true" Else WScript.Echo "null is false"

For i = 1 To 3
    For n = 1 To 3
        If n = 2 Then Exit For
        s = i & n
    Next
Next
WScript.Echo "nested", s
