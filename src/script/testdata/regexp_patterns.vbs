' What each pattern matches first, as FirstIndex:Value, or "none"; then
' patterns that are refused, and runaway patterns and subjects.
Set re = New RegExp
Sub Find(pattern, text, ignoreCase, multiline)
    re.Pattern = pattern
    re.IgnoreCase = ignoreCase
    re.Multiline = multiline
    Set ms = re.Execute(text)
    If ms.Count = 0 Then
        WScript.Echo pattern, "none"
    Else
        WScript.Echo pattern, ms(0).FirstIndex & ":" & ms(0).Value
    End If
End Sub
Find "abc", "xxabcxx", False, False
Find "a.c", "a" & vbLf & "c abc", False, False
Find "\d+", "ab 123 4", False, False
Find "\D+", "12ab3", False, False
Find "\w+", "  hi_1 ", False, False
Find "\s", "a b", False, False
Find "[a-c]+", "xxbcad", False, False
Find "[^a-c]+", "abxyc", False, False
Find "[\d.]+", "v1.25x", False, False
Find "colou?r", "color colour", False, False
Find "a{2,3}", "aaaa", False, False
Find "a{2,}", "aaaaa", False, False
Find "a{2}", "aaaa", False, False
Find "a+?", "aaa", False, False
Find "<.*>", "<a><b>", False, False
Find "<.*?>", "<a><b>", False, False
Find "(ab)+", "ababx", False, False
Find "cat|dog", "hotdog", False, False
Find "^abc", "xabc", False, False
Find "abc$", "abcx", False, False
Find "\bis\b", "this is", False, False
Find "\Bis", "this is", False, False
Find "(\w)\1", "abbc", False, False
Find "x(?=y)", "xz xy", False, False
Find "x(?!y)", "xy xz", False, False
Find "(?:a|b)c", "bc", False, False
Find "\x41\u0042", "AB", False, False
Find "a\.b", "axb a.b", False, False
Find "a{,2}", "a{,2}", False, False
Find "(a*)*b", "aaab", False, False
Find "(a|)*c", "aac", False, False
Find "", "abc", False, False
' Ignoring case, in classes and beyond ASCII; ^ and $ at every line.
Find "ABC", "xabc", True, False
Find "[A-C]+", "xabc", True, False
Find "À", "à", True, False
Find "^b", "a" & vbLf & "b", False, True
Find "a$", "a" & vbLf & "b", False, True
Find "^b", "a" & vbLf & "b", False, False

Sub Refused(pattern, text)
    On Error Resume Next
    re.Pattern = pattern
    re.Test text
    WScript.Echo Left(pattern, 20), Err.Number, Err.Description
End Sub
Refused "(a", ""
Refused "[a", ""
Refused "[z-a]", ""
Refused "*a", ""
Refused "a)", ""
Refused "a{3,2}", ""
Refused "(?<a)", ""
Refused "a\", ""
' Exponential backtracking ends with an error instead of running on; long
' subjects need no deep native recursion, nor do deep patterns.
Refused "(a+)+b", String(40, "a")
Refused String(2000, "("), ""
Refused "a{100000}{100000}", ""
re.Pattern = "(ab)*c"
WScript.Echo "long subject:", re.Execute(Replace(Space(200000), " ", "ab") & "c")(0).Length
