-- Drawing: 20000 shapes on a canvas, shown as one SVG entry
local couleurs = { "#E74C3C", "#3498DB", "#2ECC71", "#F1C40F" }
local parts = { '<svg xmlns="http://www.w3.org/2000/svg" width="1000" height="800" viewBox="0 0 1000 800">' }
for i = 0, 9999 do
  parts[#parts + 1] = string.format('<circle cx="%d" cy="%d" r="%d" fill="%s"/>',
    (i * 37) % 1000, (i * 91) % 800, 2 + i % 9, couleurs[i % 4 + 1])
  parts[#parts + 1] = string.format('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>',
    (i * 53) % 1000, (i * 17) % 800, 4 + i % 5, 3 + i % 7, couleurs[(i + 1) % 4 + 1])
end
parts[#parts + 1] = "</svg>"
io.write("__SVG__" .. table.concat(parts) .. "__\n")
