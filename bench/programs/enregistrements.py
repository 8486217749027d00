# Records: a bouncing point, fields read and written at every turn
p = {"x": 0, "y": 0, "vx": 3, "vy": 5, "rebonds": 0}
for k in range(1, 4):
    for i in range(1, 100001):
        p["x"] = p["x"] + p["vx"]
        p["y"] = p["y"] + p["vy"]
        if p["x"] > 1000:
            p["x"] = p["x"] - 1000
            p["rebonds"] += 1
        if p["y"] > 700:
            p["y"] = p["y"] - 700
            p["rebonds"] += 1
print(str(p["x"]) + " " + str(p["y"]) + " " + str(p["rebonds"]))
