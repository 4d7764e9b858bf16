' The string library.
s = "Hello, World"
WScript.Echo Len(s), Left(s, 5), Right(s, 5), Mid(s, 8), Mid(s, 8, 3)
WScript.Echo InStr(s, "o"), InStr(6, s, "o"), InStrRev(s, "o"), InStr(s, "z")
WScript.Echo UCase(s), LCase(s)
WScript.Echo "[" & Trim("  a b  ") & "]", "[" & LTrim("  a") & "]", "[" & RTrim("a  ") & "]"
WScript.Echo Replace(s, "l", "L"), Replace(s, "L", "_", 1, 2, vbTextCompare)
WScript.Echo StrReverse("abc"), String(3, "*"), "[" & Space(2) & "]"
WScript.Echo StrComp("a", "A"), StrComp("a", "A", 1), StrComp("b", "a")
WScript.Echo Asc("A"), Chr(66), AscW("C"), ChrW(68)
WScript.Echo Join(Split("a-b-c", "-"), "+")
WScript.Echo Hex(255), Hex(-1), Oct(64)
WScript.Echo "quote "" inside", Len(vbCrLf)
WScript.Echo "tab" & vbTab & "end"
WScript.Echo LCase(Null) & "x", IsNull(UCase(Null))
WScript.Echo Escape("a b+c"), Unescape("%41%42")
