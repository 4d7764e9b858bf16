-- The same work as bench/vbs/class.vbs: an object with getter, setter and
-- method, called through its metatable.
local Counter = {}
Counter.__index = Counter
function Counter.new() return setmetatable({total_ = 0}, Counter) end
function Counter:GetTotal() return self.total_ end
function Counter:SetTotal(v) self.total_ = v end
function Counter:Add(n) self.total_ = self.total_ + n end
local t = os.clock()
local c = Counter.new()
c:SetTotal(0)
for i = 1, 500000 do
    c:Add(i)
    c:SetTotal(c:GetTotal() - 1)
end
print("class", os.clock() - t, c:GetTotal())
