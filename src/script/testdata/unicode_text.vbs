' Text in several scripts: lengths and positions in UTF-16 units, case in
' every script, dictionaries and regular expressions over it.
ja = "日本語のテキスト"
WScript.Echo Len(ja), Mid(ja, 4, 1), InStr(ja, "テ"), Left(ja, 3), Right(ja, 4)
el = "Καλημέρα κόσμε"
WScript.Echo Len(el), UCase(el), LCase(el)
ru = "Привет, мир"
WScript.Echo Len(ru), UCase(ru), InStr(1, ru, "МИР", vbTextCompare), Replace(ru, "мир", "Мир")
emoji = "a😀b"
WScript.Echo Len(emoji), Mid(emoji, 2, 2), AscW(Mid(emoji, 2, 1)), AscW(Mid(emoji, 3, 1))
WScript.Echo Mid(emoji, 2, 1) & Mid(emoji, 3) = "😀b"

' Case-insensitive keys fold every script.
Set d = CreateObject("Scripting.Dictionary")
d.CompareMode = vbTextCompare
d.Add "Σίσυφος", 1
d.Add "Москва", 2
WScript.Echo d.Exists("ΣΊΣΥΦΟΣ"), d.Exists("москва"), d("МОСКВА"), d.Exists("Moskva")

' Regular expressions: . is one unit, classes of any script, \w is ASCII.
Set re = New RegExp
re.Global = True
re.Pattern = "[а-я]+"
re.IgnoreCase = True
For Each m In re.Execute(ru)
    WScript.Echo m.FirstIndex, m.Length, m.Value
Next
re.Pattern = "本.の"
re.IgnoreCase = False
Set ms = re.Execute(ja)
WScript.Echo ms.Count, ms(0).FirstIndex, ms(0).Value
re.Pattern = "\w+"
WScript.Echo re.Replace("abc δέλτα x1", "<$&>")
re.Pattern = "b"
Set ms = re.Execute(emoji)
WScript.Echo ms(0).FirstIndex
re.Pattern = "."
WScript.Echo re.Execute(emoji).Count, re.Replace("日本", "[$&]")
re.Pattern = "Ω"
re.IgnoreCase = True
WScript.Echo re.Test("ω"), re.Replace("ωΩ", "o")

' Bytes that are not UTF-8 (legacy text) are characters of their own.
legacy = "caf" & ChrB(233)
WScript.Echo Len(legacy), Asc(Right(legacy, 1)), AscB(Right(legacy, 1)), UCase(legacy) = "CAF" & ChrB(233)
raw = "naïve"
WScript.Echo Len(raw), InStr(raw, "ve")
WScript.Echo Len(ChrB(255) & ChrB(254)), StrReverse("x" & ChrB(200)) = ChrB(200) & "x"
raw2 = "na�ve"
WScript.Echo Len(raw2), InStr(raw2, "ve"), Mid(raw2, 3, 1) = ChrB(239)
