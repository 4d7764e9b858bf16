' The FileSystemObject and WScript.Shell through COM: files written and read
' back, folders listed with For Each, the errors a missing file gives, and
' values of every kind crossing to the object and back.
Dim fso, root, f, t, n, item, sh
Set fso = CreateObject("Scripting.FileSystemObject")
WScript.Echo TypeName(fso)
root = fso.BuildPath(fso.GetSpecialFolder(2), "vantrel_fso_test")
If fso.FolderExists(root) Then fso.DeleteFolder root, True
fso.CreateFolder root
Set f = fso.CreateTextFile(fso.BuildPath(root, "one.txt"), True)
f.WriteLine "first line"
f.Write "second " & 2 & " " & True
f.Close
Set f = Nothing
Set t = fso.OpenTextFile(root & "\one.txt", 1)
WScript.Echo t.ReadLine & "|" & t.ReadLine & "|" & t.AtEndOfStream
t.Close
Set t = fso.OpenTextFile(root & "\one.txt", 8)
t.WriteLine
t.WriteLine "third"
t.Close
Set t = fso.OpenTextFile(root & "\one.txt")
WScript.Echo Replace(t.ReadAll, vbCrLf, "/")
t.Close
fso.CopyFile root & "\one.txt", root & "\two.txt"
WScript.Echo fso.FileExists(root & "\two.txt"), fso.FileExists(root & "\three.txt")
WScript.Echo fso.GetFileName(root & "\two.txt"), fso.GetExtensionName("a.b.txt"), fso.GetBaseName("x\y.dat")
n = 0
For Each item In fso.GetFolder(root).Files
    n = n + 1
Next
WScript.Echo n, fso.GetFolder(root).Files.Count, fso.GetFile(root & "\one.txt").Size
On Error Resume Next
Set f = fso.GetFile(root & "\missing.txt")
WScript.Echo Err.Number, Err.Description, Err.Source
Err.Clear
fso.DeleteFile root & "\missing.txt"
WScript.Echo Err.Number
Err.Clear
x = fso.NoSuchThing
WScript.Echo Err.Number
On Error GoTo 0
fso.DeleteFolder root, True
WScript.Echo fso.FolderExists(root)
Set sh = CreateObject("WScript.Shell")
WScript.Echo LCase(Left(sh.ExpandEnvironmentStrings("%WINDIR%"), 10))
WScript.Echo IsObject(fso), fso Is fso, TypeName(fso.Drives)
