' Scripting.Dictionary: adding, reading, renaming and removing keys, the
' compare modes, the errors and the order of Keys, Items and For Each.
Function Listed(a)
    Dim i, s
    For i = 0 To UBound(a)
        If i > 0 Then s = s & "|"
        s = s & a(i)
    Next
    Listed = s
End Function

Dim d, k, a, o, i, t
Set d = CreateObject("Scripting.Dictionary")
WScript.Echo TypeName(d), d.Count, d.CompareMode
d.Add "b", 2
d.Add "a", "one"
d.Add 1, "number"
d.Add "1", "text"
WScript.Echo d.Count, d("b"), d.Item("a"), d(1), d("1"), d.Exists(1), d.Exists("1")
WScript.Echo d.Exists(1.0), d.Exists(CByte(1)), d.Exists(CCur(1)), d.Exists("A")
' A key that is read is added, empty.
WScript.Echo IsEmpty(d("new")), d.Count, d.Exists("new")
d("b") = 22
d("c") = "set adds"
WScript.Echo d("b"), d("c"), d.Count
For Each k In d
    WScript.Echo "key", k, TypeName(k), d(k)
Next
a = d.Keys
WScript.Echo UBound(a), a(0), a(UBound(a)), Listed(d.Items)
d.Key("a") = "z"
WScript.Echo Listed(d.Keys), d("z")
d.Remove "b"
d.Remove 1
WScript.Echo d.Count, Listed(d.Keys)
On Error Resume Next
d.Add "z", 0
WScript.Echo "add twice", Err.Number, Err.Description
Err.Clear
d.Remove "nope"
WScript.Echo "remove missing", Err.Number, Err.Description
Err.Clear
d.Key("z") = "c"
WScript.Echo "rename onto a key", Err.Number
Err.Clear
d.CompareMode = 1
WScript.Echo "mode with keys", Err.Number
Err.Clear
d.Key("nope") = "x"
WScript.Echo "rename missing", Err.Number
Err.Clear
On Error GoTo 0
d.RemoveAll
WScript.Echo d.Count, UBound(d.Keys)
d.CompareMode = vbTextCompare
d.Add "Key", 1
WScript.Echo d.Exists("KEY"), d("kEy"), d.CompareMode
' Many keys, removed and added again, keep their order.
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 1000
    d.Add i, i * 2
Next
For i = 1 To 990
    d.Remove i
Next
d.Add "last", 0
WScript.Echo d.Count, Listed(d.Keys), d(1000)
' Objects are keys as themselves; items may be objects.
Set t = CreateObject("Scripting.Dictionary")
Set t("dict") = d
t.Add Empty, "empty"
WScript.Echo t("dict").Count, t(Empty), t.Exists(Null)
Set o = New RegExp
t.Add o, "regexp"
WScript.Echo t(o), t.Exists(New RegExp)
