-- Analysis of a program file: lexing, then a check that every block is closed,
-- answered as one JSON line. Usage: lua5.4 analyse.lua FILE
local OPENERS = { si = "si", pour = "pour", selon = "selon", essayer = "essayer",
  fonction = "fonction", ["procédure"] = "procédure", procedure = "procédure",
  classe = "classe", ["répète"] = "répète", repete = "répète", tant = "tant que" }

-- Patterns tried in order at each position; bytes of 0x80 and above belong to
-- words, so accented letters of UTF-8 stay inside them.
local SKIPS = { "^[ \t\r]+", "^//[^\n]*", "^'[^'\n]*'", '^"[^"\n]*"', "^%d+[.,]?%d*", "^[<>]=?", "^<>" }

local function analyse(text)
  local diags, stack = {}, {}
  local pos, line, prev, closing = 1, 1, "", false
  local n = #text
  while pos <= n do
    local c = text:sub(pos, pos)
    if c == "\n" then
      line = line + 1
      pos = pos + 1
    else
      local s, e = text:find("^[%a_\128-\255][%w_\128-\255]*", pos)
      if s then
        local word = text:sub(s, e):lower()
        if closing then
          local block = OPENERS[word] or word
          if #stack > 0 and stack[#stack][1] == block then
            stack[#stack] = nil
          else
            diags[#diags + 1] = { line, '"fin ' .. block .. '" inattendu' }
          end
          closing = false
        elseif word == "fin" then
          closing = true
        elseif OPENERS[word] and not ((word == "si" or word == "selon") and prev == "sinon") then
          stack[#stack + 1] = { OPENERS[word], line }
        end
        prev = word
        pos = e + 1
      else
        local skipped = false
        for _, p in ipairs(SKIPS) do
          local _, e2 = text:find(p, pos)
          if e2 then
            pos = e2 + 1
            skipped = true
            break
          end
        end
        if not skipped then pos = pos + 1 end
      end
    end
  end
  for _, open in ipairs(stack) do
    diags[#diags + 1] = { open[2], '"fin ' .. open[1] .. '" manquant' }
  end
  return diags
end

local f = assert(io.open(arg[1], "rb"))
local found = analyse(f:read("a"))
f:close()
local items = {}
for i, d in ipairs(found) do
  items[i] = string.format('{"line":%d,"msg":"%s","fatal":true}', d[1], d[2]:gsub('"', '\\"'))
end
print('{"diagnostics":[' .. table.concat(items, ",") .. '],"ok":' .. tostring(#found == 0) .. "}")
