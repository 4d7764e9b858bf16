' Each kind of value as text: Empty as nothing, numbers at their shortest and
' never -0, a currency with its four places, a date without a zero date or time.
WScript.Echo "[" & CStr(Empty) & "]", CStr(False), CStr(CInt(-5)), CStr(0.1 + 0.2), CStr(1E21)
WScript.Echo CStr(-CDbl(0)), TypeName(-CDbl(0)), CStr(CCur(1.2345)), TypeName(CCur(1.2345))
WScript.Echo CStr(CDate(0)) & "|" & CStr(CDate(2.5))
