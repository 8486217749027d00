# While loop: the longest Collatz sequence starting from 1 to 10000
meilleur = 0
depart = 0
etapes_total = 0
for n in range(1, 10001):
    x = n
    etapes = 0
    while x != 1:
        if x % 2 == 0:
            x = x // 2
        else:
            x = 3 * x + 1
        etapes += 1
    etapes_total += etapes
    if etapes > meilleur:
        meilleur = etapes
        depart = n
print(str(depart) + " " + str(meilleur) + " " + str(etapes_total))
