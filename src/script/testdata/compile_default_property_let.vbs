Class C
Public Default Property Let p(v)
End Property
End Class