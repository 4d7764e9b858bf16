Class C
Public Default x
End Class