Sub s
  Exit Function
End Sub