' Lines joined by _ still count: the failing statement starts on line 4.
WScript.Echo "one" & _
    " line"
n = 10 / _
    0
