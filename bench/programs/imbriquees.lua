-- Nested loops: 1000 x 1000 turns with a test at each turn
local compte = 0
local total = 0
for i = 1, 1000 do
  for j = 1, 1000 do
    if (i + j) % 7 == 0 then
      compte = compte + 1
    else
      total = (total + i * j) % 999983
    end
  end
end
print(compte)
print(total)
