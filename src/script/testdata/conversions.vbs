' Subtypes, conversions and number text.
WScript.Echo TypeName(1), TypeName(32768), TypeName(1.5), TypeName("x"), TypeName(True)
WScript.Echo TypeName(Empty), TypeName(Null), TypeName(Nothing), TypeName(CByte(1))
WScript.Echo TypeName(CCur(1)), TypeName(CSng(1)), TypeName(CDate(1)), TypeName(Array())
WScript.Echo VarType(1), VarType("x"), VarType(Null), VarType(Empty), VarType(CCur(1))
WScript.Echo CInt(2.5), CInt(3.5), CLng(-2.5), CBool("true"), CBool(0)
WScript.Echo CDbl("1.5"), CStr(1/3), 1E+20, 1E-5, 2^0.5
WScript.Echo CCur(1.23456), CSng(1/3), CByte(255)
WScript.Echo IsNumeric("12"), IsNumeric("x"), IsNumeric(Empty), IsDate("2003-1-2")
WScript.Echo Int(-1.5), Fix(-1.5), Round(1.5), Round(2.5), Round(2.345, 2), Abs(-3)
WScript.Echo Sgn(-2), Sqr(9), Exp(0), Log(1), Atn(0), Cos(0), Sin(0), Tan(0)
WScript.Echo 7 \ 2, 7 Mod 3, -7 Mod 3, 2 ^ 10, 10 / 4
WScript.Echo "10" > 9, "10" < "9", Empty = 0, Empty = ""
WScript.Echo FormatNumber(1234.5), FormatPercent(0.5), FormatCurrency(2)
