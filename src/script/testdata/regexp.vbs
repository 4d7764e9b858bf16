' RegExp objects: Test, Execute with Matches and SubMatches, Replace.
Dim re, m, ms, s
Set re = New RegExp
re.Pattern = "(\w+)@(\w+)\.com"
WScript.Echo re.Test("mail bob@example.com now"), re.Test("nothing here")
Set ms = re.Execute("bob@example.com, amy@test.com")
WScript.Echo ms.Count, ms(0), ms(0).FirstIndex, ms(0).Length, ms(0).SubMatches(1)
re.Global = True
Set ms = re.Execute("bob@example.com, amy@test.com")
WScript.Echo ms.Count, TypeName(ms), TypeName(ms.Item(1).SubMatches), ms.Item(1).SubMatches.Item(1)
For Each m In ms
    WScript.Echo m.Value, m.FirstIndex, m.SubMatches.Count, m.SubMatches(0)
Next
WScript.Echo re.Replace("bob@example.com, amy@test.com", "$2:$1")
re.Pattern = "a"
re.IgnoreCase = True
WScript.Echo re.Replace("Banana", "_")
re.Global = False
WScript.Echo re.Replace("Banana", "_")
re.Global = True
re.IgnoreCase = False
re.Pattern = "^\s+|\s+$"
WScript.Echo "[" & re.Replace("   padded   ", "") & "]"
re.Pattern = "(\d{3})-(\d{4})"
WScript.Echo re.Replace("call 555-1234 or 555-9876", "($1) $2 [$&]")
re.Pattern = "x*"
WScript.Echo re.Replace("abc", "-")
re.Pattern = "(a|b)+?c"
WScript.Echo re.Execute("xxababcx")(0).Value
re.Pattern = "(\w)\1"
WScript.Echo re.Execute("abccdeef").Count, re.Execute("abccdeef")(1)
re.Pattern = "q(?=u)"
WScript.Echo re.Replace("quit qat", "Q")
re.Pattern = "^line"
re.Multiline = True
WScript.Echo re.Execute("line one" & vbLf & "line two").Count
re.Pattern = "[^a-c]+"
WScript.Echo re.Execute("aabbxyzcc")(0)
re.Pattern = "(a"
On Error Resume Next
re.Test "a"
WScript.Echo "bad pattern:", Err.Number, Err.Description
Set words = New RegExp
words.Global = True
words.Pattern = "\w+"
WScript.Echo "words:", words.Replace("z0-", "[$&]")
words.Pattern = "(a)|(b)"
WScript.Echo "first group:", words.Replace("a", "[$1]")
