# Arrays: 200 times, 1000 elements appended, sorted, then walked through
x = 1
total = 0
for k in range(1, 201):
    t = []
    for i in range(1, 1001):
        x = (x * 75 + 74) % 65537
        t.append(x)
    t.sort()
    s = 0
    for i in range(0, 1000):
        s = s + t[i] * (i % 3)
    total = (total + s + t[0] + t[500] + t[999]) % 1000003
print(total)
