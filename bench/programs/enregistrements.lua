-- Records: a bouncing point, fields read and written at every turn
local p = { x = 0, y = 0, vx = 3, vy = 5, rebonds = 0 }
for k = 1, 3 do
  for i = 1, 100000 do
    p.x = p.x + p.vx
    p.y = p.y + p.vy
    if p.x > 1000 then
      p.x = p.x - 1000
      p.rebonds = p.rebonds + 1
    end
    if p.y > 700 then
      p.y = p.y - 700
      p.rebonds = p.rebonds + 1
    end
  end
end
print(p.x .. " " .. p.y .. " " .. p.rebonds)
