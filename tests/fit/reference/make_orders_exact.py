"""SSE and PRESS of every order for the sets whose R values carry too few digits (a fit with
relative noise 1e-9; leverages near 1 at order 10 of 12 pairs), in 80-digit arithmetic from the
same input doubles as orders_reference.json. Run once:
python3 make_orders_exact.py > orders_exact.json"""
import json
import os

import mpmath as mp

mp.mp.dps = 80
here = os.path.dirname(os.path.abspath(__file__))
sets = json.load(open(os.path.join(here, "orders_reference.json")))["sets"]
out = []
for s in sets:
    if s["name"] not in ("tight", "loglog"):
        continue
    t = [mp.mpf(x) for x in s["t"]]
    v = [mp.mpf(x) for x in s["v"]]
    rows = []
    for k in range(1, s["highest"] + 1):
        X = mp.matrix([[ti**j for j in range(k + 1)] for ti in t])
        inv = (X.T * X) ** -1
        b = inv * (X.T * mp.matrix(v))
        sse = mp.mpf(0)
        press = mp.mpf(0)
        for i in range(len(t)):
            xi = X[i, :]
            h = (xi * inv * xi.T)[0]
            e = v[i] - (xi * b)[0]
            sse += e * e
            press += (e / (1 - h)) ** 2
        rows.append({"order": k, "sse": float(sse), "press": float(press)})
    out.append({"name": s["name"], "rows": rows})
print(json.dumps({"sets": out}, indent=1))
