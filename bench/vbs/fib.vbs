' Recursive calls: Fib(29) makes 1,664,079 calls, long enough that Timer's
' coarse steps (it is a Single) do not blur the figure.
Function Fib(n)
    If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)
End Function
t = Timer
r = Fib(29)
WScript.Echo "fib", Timer - t, r
