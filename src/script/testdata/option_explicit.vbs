Option Explicit
Dim known
known = 1
WScript.Echo known
unknown = 2
WScript.Echo "not reached"
