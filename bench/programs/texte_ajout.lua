-- A text built by appending: three passes of 100000 appends. Lua strings
-- are immutable, so the idiomatic way is a buffer joined once at the end
local parts = {}
for k = 1, 3 do
  for i = 1, 100000 do
    parts[#parts + 1] = "mot" .. (i % 10) .. " "
  end
end
local t = table.concat(parts)
print(#t)
print(string.sub(t, 1, 20))
