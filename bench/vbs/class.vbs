' A class with a property pair and a method, called 1,000,000 times.
Class Counter
    Private total_
    Public Property Get Total
        Total = total_
    End Property
    Public Property Let Total(v)
        total_ = v
    End Property
    Public Sub Add(n)
        total_ = total_ + n
    End Sub
End Class
t = Timer
Set c = New Counter
c.Total = 0
For i = 1 To 500000
    c.Add i
    c.Total = c.Total - 1
Next
WScript.Echo "class", Timer - t, c.Total
