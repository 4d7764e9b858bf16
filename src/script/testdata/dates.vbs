' Date functions, with the host clock fixed at 1/2/2003 3:04:05 PM.
WScript.Echo Now, Date, Time
WScript.Echo Year(Now), Month(Now), Day(Now), Hour(Now), Minute(Now), Second(Now)
d = #2/28/2004#
WScript.Echo DateAdd("d", 1, d), DateAdd("m", 1, #1/31/2004#), DateAdd("yyyy", -1, d)
WScript.Echo DateAdd("h", 25, d), DateAdd("n", 90, d), DateAdd("ww", 1, d)
WScript.Echo DateDiff("d", #1/1/2004#, d), DateDiff("m", #1/31/2004#, #2/1/2004#)
WScript.Echo DateDiff("h", #1/1/2004 1:59#, #1/1/2004 2:00#), DateDiff("s", #0:00#, #0:01#)
WScript.Echo DatePart("yyyy", d), DatePart("q", d), DatePart("y", d), DatePart("w", d)
WScript.Echo DateSerial(2004, 2, 30), TimeSerial(13, 30, 0), DateValue("3/4/2005 10:00")
WScript.Echo TimeValue("3/4/2005 10:00 PM"), Weekday(d), WeekdayName(Weekday(d))
WScript.Echo MonthName(12), MonthName(1, True), WeekdayName(2, True)
WScript.Echo FormatDateTime(d, vbLongDate), FormatDateTime(d, vbShortDate)
WScript.Echo FormatDateTime(#1:02:03 PM#, vbLongTime), FormatDateTime(#1:02:03 PM#, vbShortTime)
WScript.Echo CDate("March 5, 2001"), IsDate("hello"), d + 1, d - #2/1/2004#
