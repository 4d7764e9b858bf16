Property Get x
End Property