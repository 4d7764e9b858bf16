' A Dictionary of 100,000 keys filled, then every key read back.
t = Timer
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 100000
    d.Add "key" & i, i
Next
sum = 0
For i = 1 To 100000
    sum = sum + d("key" & i)
Next
WScript.Echo "dictionary", Timer - t, d.Count, sum
