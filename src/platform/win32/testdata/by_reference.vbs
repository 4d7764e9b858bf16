' The object writes through a pointer to the variable or element passed:
' a Long, a text, an array's element, and a DECIMAL that comes back as the
' number the object left there. A constant passed ByRef is no failure.
Set t = CreateObject("Test.Target")
n = 41 : t.Bump n : WScript.Echo n & " " & TypeName(n)
s = "café" : t.Append s : WScript.Echo s
Dim a(2) : a(1) = 7 : t.Bump a(1) : WScript.Echo a(1)
t.Bump 5
For Each d In Array(2.25, CLng(3), -1.5, CCur("1000000.0001"))
  t.Twice d : WScript.Echo d & " " & TypeName(d)
Next
