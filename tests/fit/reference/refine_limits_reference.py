#!/usr/bin/python3
"""The unweighted limits of limits_reference.json again, in 50-digit arithmetic.

Run once after make_limits_reference.R:
    /usr/bin/python3 refine_limits_reference.py limits_reference.json
R's lm forms the residuals in double: on a tight line (noise 1e-9 relative) its residual standard
deviation keeps only about 7 digits. This recomputes every unweighted case from its pairs with
mpmath, by DIN 32645's closed forms (x_NG; x_EG and x_BG from their quadratics), checks that R
agrees to 1e-6, and writes the 50-digit values in its place.
"""
import json
import sys

from mpmath import betainc, findroot, mp, mpf, sqrt

mp.dps = 50


def t_quantile(p, f):
    """The t with P(T <= t) = p for Student's t with f degrees of freedom, p above 0.5."""
    def cdf_gap(t):
        return 1 - betainc(mpf(f) / 2, mpf(1) / 2, 0, f / (f + t * t), regularized=True) / 2 - p
    return findroot(cdf_gap, mpf(2))


def limits(c):
    x = [mpf(v) for v in c["x"]]
    y = [mpf(v) for v in c["y"]]
    n = len(x)
    f = n - 2
    xbar = sum(x) / n
    ybar = sum(y) / n
    qx = sum((v - xbar) ** 2 for v in x)
    b = sum((xv - xbar) * (yv - ybar) for xv, yv in zip(x, y)) / qx
    a = ybar - b * xbar
    s = sqrt(sum((yv - a - b * xv) ** 2 for xv, yv in zip(x, y)) / f)
    alpha, beta, k, m = mpf(c["alpha"]), mpf(c["beta"]), mpf(c["k"]), c["m"]
    ta, tb, tq = t_quantile(1 - alpha, f), t_quantile(1 - beta, f), t_quantile(1 - alpha / 2, f)
    sx0 = s / b
    A = mpf(1) / m + mpf(1) / n
    xc = sx0 * ta * sqrt(A + xbar ** 2 / qx)
    out = {"t_alpha": ta, "t_beta": tb, "t_quantification": tq, "critical_y": a + b * xc,
           "critical_x": xc, "detection_x": None, "quantification_x": None,
           "detection_shortcut_x": 2 * xc if alpha == beta else None}
    # x_EG = x_NG + d, d = c·sqrt(A + (x_NG + d − x̄)²/Q): a quadratic in d.
    cc, e = tb * sx0, xc - xbar
    qa, qb, qc = 1 - cc ** 2 / qx, -2 * cc ** 2 * e / qx, -cc ** 2 * (A + e ** 2 / qx)
    if qa > 0:
        out["detection_x"] = xc + (-qb + sqrt(qb ** 2 - 4 * qa * qc)) / (2 * qa)
    # x_BG = g·sqrt(A + (x_BG − x̄)²/Q), g = k·t·s_x0.
    g = k * tq * sx0
    qa, qb, qc = 1 - g ** 2 / qx, 2 * g ** 2 * xbar / qx, -g ** 2 * (A + xbar ** 2 / qx)
    if qa > 0:
        out["quantification_x"] = (-qb + sqrt(qb ** 2 - 4 * qa * qc)) / (2 * qa)
    return out


def main(path):
    with open(path) as f:
        reference = json.load(f)
    for c in reference["limits"]:
        if c["weights"] != "none" or c["sigma"] is not None:
            continue
        for key, value in limits(c).items():
            if value is None:
                assert c[key] is None, (c["name"], key)
                continue
            assert abs(c[key] - float(value)) <= 1e-6 * abs(value), (c["name"], key, c[key])
            c[key] = float(value)
    with open(path, "w") as f:
        json.dump(reference, f, indent=1)
        f.write("\n")


if __name__ == "__main__":
    main(sys.argv[1])
