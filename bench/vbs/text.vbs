' Split, Join, Replace and InStr over a text of about 1 MB.
t = Timer
words = Array("alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta")
Dim parts(199999)
For i = 0 To 199999
    parts(i) = words(i Mod 8)
Next
text = Join(parts, " ")
pieces = Split(text, " ")
replaced = Replace(text, "gamma", "GAMMA")
found = 0
p = InStr(1, replaced, "GAMMA")
Do While p > 0
    found = found + 1
    p = InStr(p + 5, replaced, "GAMMA")
Loop
WScript.Echo "text", Timer - t, Len(text), UBound(pieces) + 1, found
