# Nested loops: 1000 x 1000 turns with a test at each turn
compte = 0
total = 0
for i in range(1, 1001):
    for j in range(1, 1001):
        if (i + j) % 7 == 0:
            compte += 1
        else:
            total = (total + i * j) % 999983
print(compte)
print(total)
