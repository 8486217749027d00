-- Arrays: 200 times, 1000 elements appended, sorted, then walked through
-- (Lua tables start at 1: element i of the others is t[i + 1] here)
local x = 1
local total = 0
for k = 1, 200 do
  local t = {}
  for i = 1, 1000 do
    x = (x * 75 + 74) % 65537
    t[#t + 1] = x
  end
  table.sort(t)
  local s = 0
  for i = 0, 999 do
    s = s + t[i + 1] * (i % 3)
  end
  total = (total + s + t[1] + t[501] + t[1000]) % 1000003
end
print(total)
