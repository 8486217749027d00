# Calls of small functions with arguments in a loop
def carre(x):
    return x * x

def melange(u, v, w):
    return (u * 31 + v * 17 + w) % 10007

acc = 0
for k in range(1, 3):
    for i in range(1, 100001):
        acc = melange(acc, carre(i % 100), k)
print(acc)
