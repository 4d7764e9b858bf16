' Recursive calls: Fib(25) makes 242,785 calls.
Function Fib(n)
    If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)
End Function
t = Timer
r = Fib(25)
WScript.Echo "fib", Timer - t, r
