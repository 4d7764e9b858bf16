Function f
End Sub