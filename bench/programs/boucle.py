# Arithmetic loop: ten passes of 100000 iterations
total = 0
for k in range(1, 11):
    s = 0
    for i in range(1, 100001):
        s = (s + i * k + 7) % 1000003
    total = total + s
print(total)
