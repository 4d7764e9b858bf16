' Filling and summing a 100,001-element array, ten times.
Sub Work()
    Dim a(100000), i, k, sum
    For k = 1 To 10
        For i = 0 To 100000
            a(i) = i
        Next
        sum = 0
        For i = 0 To 100000
            sum = sum + a(i)
        Next
    Next
    WScript.Echo "arrays", Timer - t, sum
End Sub
t = Timer
Work
