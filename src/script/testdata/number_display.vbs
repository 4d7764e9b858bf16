' How numbers read as text: 15 significant digits for a Double, 7 for a
' Single, 4 decimals at most for a Currency; exponents from 1E+15 up and
' below 0.0001, with at least two digits.
WScript.Echo CDbl(0), CDbl(1), -0.5, 1 / 3, 2 / 3, CDbl(1024)
WScript.Echo 1E+20, 1E+15, 123456789012345, 1234567890123456, 9999999999999999
WScript.Echo 0.1234567890123456, 0.0001, 0.00001, 1.5E-07, 1E+100, -1E-100
WScript.Echo 1.1 + 2.2, 100 * 1.1, 1E+300 * 1E+8, 12345.678
WScript.Echo CSng(0.1), CSng(1 / 3), CSng(1E+10)
WScript.Echo CCur(1.5), CCur(-1.2345), CCur(1), CCur(0.0001)
