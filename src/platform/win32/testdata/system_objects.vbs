' The system's own objects under Wine: their errors as VBScript numbers
' and texts, CreateObject's and GetObject's failures, a collection walked
' with For Each, and GetObject with a class name.
Set fso = CreateObject("Scripting.FileSystemObject")
On Error Resume Next
Set f = fso.GetFile("C:\nope.txt")
WScript.Echo Err.Number & " " & Err.Description
Err.Clear : x = fso.NoSuchMember
WScript.Echo Err.Number
Err.Clear : Set o = CreateObject("No.Such.Class")
WScript.Echo Err.Number & " " & Err.Description
Err.Clear : Set o = GetObject("C:\nope.xyz")
WScript.Echo Err.Number & " " & Err.Description
Err.Clear : Set o = GetObject(, "No.Such.Class")
WScript.Echo Err.Number
On Error Goto 0
For Each d In fso.Drives : n = n + 1 : Next : WScript.Echo CStr(n > 0)
WScript.Echo TypeName(GetObject("", "Scripting.FileSystemObject"))
