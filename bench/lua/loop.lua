-- The same work as bench/vbs/loop.vbs.
local t = os.clock()
total = 0
for i = 1, 3000000 do
    total = total + i * 2 - 1
end
print("loop", os.clock() - t, total)
