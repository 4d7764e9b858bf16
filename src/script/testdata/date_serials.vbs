' Dates as day serials from 30 December 1899, across the whole range, and
' the texts that read as dates (the year left out is this host's, 2003).
For Each d In Array(Array(1899, 12, 30), Array(1900, 1, 1), Array(2003, 1, 2), _
                    Array(100, 1, 1), Array(9999, 12, 31), Array(1899, 12, 29))
    s = DateSerial(d(0), d(1), d(2))
    WScript.Echo CDbl(s), Year(s), Month(s), Day(s)
Next
' A month past December rolls into the next year, day 0 is the day before.
WScript.Echo DateSerial(2003, 14, 0)
' Before day 0 the time of day still counts forwards.
WScript.Echo Day(CDate(-1.25)), Hour(CDate(-1.25))
WScript.Echo Weekday(37623), CDate(37623 + TimeSerial(0, 4, 5)), FormatDateTime(37623, vbLongDate)
For Each t In Array("1/2/2003", "2003-01-02", "January 2, 2003", "2 Jan 2003", "1/2/03", _
                    "13/1/2003", "6:00", "6 PM", "1/2/2003 12:00 PM", "12:00:00 AM", "1/2", _
                    "2/29/2003", "hello", "25:00", "")
    If IsDate(t) Then WScript.Echo "[" & t & "]", CDbl(CDate(t)) Else WScript.Echo "[" & t & "]", "no"
Next
On Error Resume Next
s = DateSerial(10000, 1, 1)
WScript.Echo "year 10000:", Err.Number, Err.Description
