' Every subtype goes to COM and comes back as it was, text through UTF-16.
Set t = CreateObject("Test.Target")
For Each v In Array(Empty, Null, True, CByte(200), CInt(-3), CLng(70000), CSng(1.5), 2.25, CCur("12.3456"), #2024-07-04 13:05:00#, "été")
  t.Store v : r = 0 : t.Load r
  WScript.Echo TypeName(r) & " " & r
Next
