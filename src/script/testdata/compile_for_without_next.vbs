For i = 1 To 2
