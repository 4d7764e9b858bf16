' The string functions over text that is not ASCII: counted in UTF-16 units
' as VBScript counts, with case in every script. Each line shows what the
' expression gives as TypeName:text, or its error as #number:description.
Sub T(expression)
    On Error Resume Next
    Dim v
    v = Eval(expression)
    If Err.Number <> 0 Then
        WScript.Echo expression & " -> #" & Err.Number & ":" & Err.Description
    ElseIf IsNull(v) Then
        WScript.Echo expression & " -> Null:Null"
    Else
        WScript.Echo expression & " -> " & TypeName(v) & ":" & v
    End If
End Sub

' Lengths and slices; a character beyond the first plane is two units.
T "Len(""日本語"")"
T "Len(""Ελληνικά"")"
T "Len(""😀"")"
T "Len(""caf"" & ChrB(233))"
T "Mid(""日本語"", 2, 1)"
T "Mid(""日本語"", 2)"
T "Mid(""日本語"", 4)"
T "Left(""Ωmega"", 1)"
T "Right(""привет"", 3)"
T "Right(""привет"", 9)"
T "Mid(""a😀b"", 2, 2)"
T "Len(Mid(""a😀b"", 2, 1))"
T "AscW(Mid(""a😀b"", 2, 1))"
T "AscW(Mid(""a😀b"", 3))"
T "Mid(""a😀b"", 2, 1) & Mid(""a😀b"", 3, 1) = ""😀"""
T "Left(""😀x"", 1) & Right(""x😀"", 1)"
T "Mid(""caf"" & ChrB(233) & ""!"", 4, 1) = ChrB(233)"

' Searches, replacing, splitting and filtering, with and without case.
T "InStr(""日本語"", ""語"")"
T "InStr(""a😀b日"", ""日"")"
T "InStr(2, ""αβγαβγ"", ""α"")"
T "InStr(1, ""ΑΒΓ"", ""βγ"", 1)"
T "InStr(1, ""ΑΒΓ"", ""βγ"", 0)"
T "InStr(4, ""日本語"", ""語"")"
T "InStr(3, ""日本語"", """")"
T "InStrRev(""日本日本"", ""本"")"
T "InStrRev(""日本日本"", ""本"", 3)"
T "InStrRev(""ДОМ дом"", ""ДОМ"", -1, 1)"
T "Replace(""Привет мир"", ""ПРИВЕТ"", ""Hello"", 1, -1, 1)"
T "Replace(""日本語日本語"", ""本"", ""x"", 3)"
T "Replace(""αβγαβγ"", ""Β"", ""x"", 1, 1, 1)"
T "Replace(""a😀b😀"", ""😀"", ""-"")"
T "Join(Split(""α,β,γ"", "",""), ""|"")"
T "Join(Split(""aΣbσcς"", ""σ"", -1, 1), ""|"")"
T "Join(Split(""日本日本"", ""本"", 2), ""|"")"
T "Join(Filter(Array(""Ωmega"", ""alpha"", ""ωx""), ""ω"", True, 1), ""|"")"
T "Join(Filter(Array(""Ωmega"", ""alpha"", ""ωx""), ""ω"", False), ""|"")"

' Case and comparison.
T "UCase(""àéî straße ǆ"")"
T "LCase(""ÀÉÎ ΑΒΓ ПРИВЕТ ԱԲԳ ＡＢ"")"
T "UCase(""ßσςи"")"
T "UCase(""a"" & ChrB(233))  = ""A"" & ChrB(233)"
T "StrComp(""Привет"", ""пРИВЕТ"", 1)"
T "StrComp(""Привет"", ""пРИВЕТ"")"
T "StrComp(ChrW(&HE000), ""😀"")"
T "StrComp(""é"", ""f"")"
T """é"" < ""日"""
T """ΑΒΓ"" = ""αβγ"""

' Character codes: Asc reads the legacy code page, AscW UTF-16 units.
T "AscW(""日"")"
T "ChrW(26085)"
T "AscW(ChrW(-9000))"
T "Len(ChrW(&HD83D) & ChrW(&HDE00))"
T "ChrW(&HD83D) & ChrW(&HDE00) = ""😀"""
T "ChrW(65536)"
T "ChrW(-32769)"
T "Asc(""é"")"
T "Asc(""€"")"
T "Asc(""日"")"
T "Asc(""😀"")"
T "Asc(ChrB(233))"
T "Chr(233)"
T "Chr(128)"
T "Len(Chr(233))"
T "Chr(65) & Chr(0) = ""A"" & ChrW(0)"
T "AscB(""日"")"
T "AscB(ChrB(200))"
T "AscW(ChrB(200))"
T "String(2, ""日本"")"
T "String(2, 233)"
T "Len(String(3, ""😀""))"
T "StrReverse(""日本x"")"
T "AscW(StrReverse(""😀""))"
T "StrReverse(StrReverse(""a😀b"")) = ""a😀b"""
T "Trim(""  日本  "") & ""|"""
T "Escape(""é日"")"
T "Unescape(""%u65E5%E9%uD83D%uDE00"")"
T "Escape(""😀"")"
