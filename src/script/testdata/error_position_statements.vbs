' Statements separated by ':' each have their own place on the line.
a = 1 : WScript.Echo a : b = a / 0
