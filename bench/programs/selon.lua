-- Dispatch in a loop: ten passes of 100000 turns
local zero, petits, moyens, autres = 0, 0, 0, 0
for k = 1, 10 do
  for i = 1, 100000 do
    local v = (i + k) % 10
    if v == 0 then
      zero = zero + 1
    elseif v == 1 or v == 2 or v == 3 then
      petits = petits + i % 7
    elseif v >= 4 and v <= 6 then
      moyens = moyens + 2
    else
      autres = autres + 1
    end
  end
end
print(zero .. " " .. petits .. " " .. moyens .. " " .. autres)
