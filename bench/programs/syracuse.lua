-- While loop: the longest Collatz sequence starting from 1 to 10000
local meilleur = 0
local depart = 0
local etapes_total = 0
for n = 1, 10000 do
  local x = n
  local etapes = 0
  while x ~= 1 do
    if x % 2 == 0 then
      x = x // 2
    else
      x = 3 * x + 1
    end
    etapes = etapes + 1
  end
  etapes_total = etapes_total + etapes
  if etapes > meilleur then
    meilleur = etapes
    depart = n
  end
end
print(depart .. " " .. meilleur .. " " .. etapes_total)
