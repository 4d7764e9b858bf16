-- The same work as bench/vbs/strings.vbs: appends to one growing string,
-- then a one-character substring at each place.
local t = os.clock()
local s = ""
for i = 1, 200000 do
    s = s .. "x"
end
local n = 0
for i = 1, 200000 do
    if string.sub(s, i, i) == "x" then n = n + 1 end
end
print("strings", os.clock() - t, #s, n)
