' A failure on an indented statement is placed at its first character.
For i = 1 To 2
    WScript.Echo i
    If i = 2 Then
        x = 1 / 0
    End If
Next
