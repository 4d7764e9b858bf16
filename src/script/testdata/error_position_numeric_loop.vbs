' A loop whose body is only assignments of numbers places a failure at the
' statement that failed, inside a procedure as at top level.
Sub Fill(n)
    Dim a(2), k, x
    For k = 0 To n
        x = k * 2 + 1
          a(k) = x - 1
        WScript.Echo a(k)
    Next
End Sub
Fill 2
Sub Fill2()
    Dim a(2), k, x
    On Error Resume Next
    For k = 0 To 5
        x = k * 2 + 1
          a(k) = x - 1
    Next
    WScript.Echo "resumed", Err.Number, a(2), x
End Sub
Fill2
Dim b(3)
For k = 0 To 5
    b(k) = k * k
  total = total + b(k) * 1E308 * 10
Next
