-- Calls of small functions with arguments in a loop
local function carre(x)
  return x * x
end

local function melange(u, v, w)
  return (u * 31 + v * 17 + w) % 10007
end

local acc = 0
for k = 1, 2 do
  for i = 1, 100000 do
    acc = melange(acc, carre(i % 100), k)
  end
end
print(acc)
