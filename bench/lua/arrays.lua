-- The same work as bench/vbs/arrays.vbs: a local array of 100,001 elements.
local function Work(t)
    local a = {}
    local sum
    for k = 1, 10 do
        for i = 0, 100000 do
            a[i] = i
        end
        sum = 0
        for i = 0, 100000 do
            sum = sum + a[i]
        end
    end
    print("arrays", os.clock() - t, sum)
end
Work(os.clock())
