-- The same work as bench/vbs/fib.vbs: a global function, as the script's is.
function Fib(n)
    if n < 2 then return n else return Fib(n - 1) + Fib(n - 2) end
end
local t = os.clock()
local r = Fib(29)
print("fib", os.clock() - t, r)
