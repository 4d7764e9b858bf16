Sub s
End Sub
Sub S
End Sub