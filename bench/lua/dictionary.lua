-- The same work as bench/vbs/dictionary.vbs, with a table for the Dictionary.
local t = os.clock()
local d, count = {}, 0
for i = 1, 100000 do
    d["key" .. i] = i
    count = count + 1
end
local sum = 0
for i = 1, 100000 do
    sum = sum + d["key" .. i]
end
print("dictionary", os.clock() - t, count, sum)
