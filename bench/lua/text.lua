-- The same work as bench/vbs/text.vbs: join, split, replace and find over
-- a text of about 1 MB.
local t = os.clock()
local words = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta"}
local parts = {}
for i = 0, 199999 do
    parts[i + 1] = words[i % 8 + 1]
end
local text = table.concat(parts, " ")
local pieces = {}
for piece in string.gmatch(text, "[^ ]+") do
    pieces[#pieces + 1] = piece
end
local replaced = string.gsub(text, "gamma", "GAMMA")
local found = 0
local p = string.find(replaced, "GAMMA", 1, true)
while p do
    found = found + 1
    p = string.find(replaced, "GAMMA", p + 5, true)
end
print("text", os.clock() - t, #text, #pieces, found)
