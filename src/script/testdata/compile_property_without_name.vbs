Class C
Property Get
End Class