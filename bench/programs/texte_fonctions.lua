-- Text functions in a loop
local compte = 0
for i = 1, 100000 do
  local m = "bonjour le monde " .. i
  compte = compte + #string.upper(m)
  compte = compte + (string.find(string.upper(m), "MONDE", 1, true) or 0)
  compte = compte + #(string.gsub(m, "o", "00"))
  compte = compte + #string.sub(m, 3, 7)
end
print(compte)
print((string.gsub(string.upper("bonjour le monde"), "O", "0")))
