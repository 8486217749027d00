# Dispatch in a loop: ten passes of 100000 turns
zero = petits = moyens = autres = 0
for k in range(1, 11):
    for i in range(1, 100001):
        v = (i + k) % 10
        if v == 0:
            zero += 1
        elif v in (1, 2, 3):
            petits += i % 7
        elif 4 <= v <= 6:
            moyens += 2
        else:
            autres += 1
print(str(zero) + " " + str(petits) + " " + str(moyens) + " " + str(autres))
