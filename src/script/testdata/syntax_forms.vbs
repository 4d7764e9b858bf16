Rem Comments, continuations, separators and literal forms.
x = 1 + _
    2 ' a trailing comment
WScript.Echo x : WScript.Echo "two" : Rem and a remark
WScript.Echo &H1F, &O17, &HFFFF, &HFFFF&, 1.5E3, .5
WScript.Echo #1/2/2003#, #13:30:00#, #2003-01-02 1:02:03 PM#
WScript.Echo "it's ""quoted""", "'not a comment'"
Dim [odd name]
[odd name] = "bracketed"
WScript.Echo [odd name]
If x = 3 Then
    WScript.Echo "three"
End If
If x > 1 Then WScript.Echo "a" : WScript.Echo "b"
Select Case True
Case x < 3: WScript.Echo "lt"
Case Else: WScript.Echo "ge"
End Select
WScript.Echo Len("tab	inside")
Const Greeting = "hello", Answer = 42
WScript.Echo Greeting, Answer
On Error Resume Next
Answer = 1
WScript.Echo "const:", Err.Number
