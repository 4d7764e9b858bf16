Class C
Sub Class_Initialize(a)
End Sub
End Class