' Implicit and explicit conversions between subtypes.
WScript.Echo TypeName(1), TypeName(32767), TypeName(32768), TypeName(2147483648)
WScript.Echo TypeName(1.5), TypeName("a"), TypeName(Empty), TypeName(Null)
WScript.Echo TypeName(1 + 1), TypeName(32767 + 1), TypeName(1 + 1.5), TypeName("1" + 1)
WScript.Echo "1" + "2", "1" + 2, "1" & 2, 1 & 2
WScript.Echo TypeName(CByte(5)), TypeName(CInt(5.5)), TypeName(CLng("7")), TypeName(CSng(1))
WScript.Echo CInt(2.5), CInt(3.5), CInt(-2.5), CLng(1.5), CLng(-1.5)
WScript.Echo Fix(-2.7), Int(-2.7), Fix(2.7), Int(2.7)
WScript.Echo CDbl("1.5e3"), CDbl("&H10"), CLng("&HFF")
WScript.Echo CStr(CBool(1)), CStr(CBool(0)), CStr(CBool("True"))
WScript.Echo 7 \ 2, 7 Mod 3, -7 \ 2, -7 Mod 3, 2 ^ 10
WScript.Echo TypeName(7 \ 2), TypeName(2 ^ 2), TypeName(10 / 2)
WScript.Echo CStr(3 = "3"), CStr("a" < "b"), CStr("B" < "a"), CStr(Empty = 0), CStr(Empty = "")
WScript.Echo CStr(IsNumeric("12")), CStr(IsNumeric("1e5")), CStr(IsNumeric("abc")), CStr(IsNumeric(Empty))
WScript.Echo CStr(IsEmpty(x)), CStr(IsNull(Null)), CStr(IsArray(Array())), CStr(IsDate("1/2/2003"))
WScript.Echo CStr(1 / 4), CStr(1 / 3), CStr(2 / 3), CStr(1E+16), CStr(123456789012345)
WScript.Echo CStr(0.000001), CStr(1.0E-7), CStr(-1.5), CStr(100000000000000000000)
WScript.Echo CStr(CCur(1.23456)), CStr(CCur(10)), TypeName(CCur(1) + 1)
WScript.Echo Hex(255), Hex(-1), Oct(8), Hex(65536)
WScript.Echo Abs(-3), Sgn(-2), Sgn(0), Sqr(16), Len(CStr(Rnd() >= 0))
WScript.Echo CStr(True And 3), CStr(False Or 5), CStr(Not 0), 5 Xor 3, 6 Eqv 3
