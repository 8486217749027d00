# A text built by appending: three passes of 100000 appends (inside a
# function: CPython extends a local text in place)
def main():
    t = ""
    for k in range(1, 4):
        for i in range(1, 100001):
            t += "mot" + str(i % 10) + " "
    print(len(t))
    print(t[0:20])

main()
