' Which texts read as numbers (IsNumeric), and the number CDbl reads: spaces
' around, a thousands separator, exponents with E or D, &H and &O, a
' currency sign, and parentheses for a negative amount.
Sub Number(text)
    If IsNumeric(text) Then
        WScript.Echo "[" & text & "]", CDbl(text)
    Else
        WScript.Echo "[" & text & "]", "no"
    End If
End Sub
For Each t In Array("12", "  12  ", "-1.5", "+3", "1,000", ".5", "1e3", "1D2", "&HFF", "&HFFFF", _
                    "&O17", "", "   ", "abc", "1e", "1.2.3", "12abc", "&HZZ", ",5", "- 2", _
                    "1e-400", "(5)", "( 2.5 )", "$5", "-$5", "$-5", "($5)", "(5", "(-5)", "--5", "$", "5$")
    Number t
Next
' Halves go to the even neighbour, a negative one from its floor.
WScript.Echo Round(0.5), Round(-0.5), Round(-1.5)
