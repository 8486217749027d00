# Text functions in a loop
compte = 0
for i in range(1, 100001):
    m = "bonjour le monde " + str(i)
    compte += len(m.upper())
    compte += m.upper().find("MONDE") + 1
    compte += len(m.replace("o", "00"))
    compte += len(m[2:7])
print(compte)
print("bonjour le monde".upper().replace("O", "0"))
