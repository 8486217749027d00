-- Arithmetic loop: ten passes of 100000 iterations
local total = 0
for k = 1, 10 do
  local s = 0
  for i = 1, 100000 do
    s = (s + i * k + 7) % 1000003
  end
  total = total + s
end
print(total)
