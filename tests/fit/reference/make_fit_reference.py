#!/usr/bin/python3
"""Exact references for the fit's derived numbers: statistics, predictions and calibrations.

Run once with Debian's python3 (mpmath): /usr/bin/python3 make_fit_reference.py > fit_reference.json
Every least-squares problem is solved in 100-digit arithmetic on the raw powers of the fitted
scale, so nothing here shares a step with the program's centred factorization. p values and t
quantiles come from the regularized incomplete beta function.
"""
import json
import math

from mpmath import mp, mpf

mp.dps = 100
LEVEL = 0.95


def noise(k, amplitude):
    return amplitude * math.sin(1.7 * k + 0.3)


def rounded(value, digits):
    return float(f"{value:.{digits}g}")


def make_sets():
    sets = {}
    x = [2024 + k / 12 for k in range(25)]
    sets["monthly"] = (x, [rounded(100 + 3 * (v - 2025) - 2 * (v - 2025) ** 2
                                   + 0.5 * (v - 2025) ** 3 + noise(k, 0.05), 9)
                           for k, v in enumerate(x)])
    x = [1e6 - 10 + k * (20 / 12) for k in range(13)]
    sets["mega10"] = (x, [rounded(5 + 0.3 * (v - 1e6) + 0.02 * (v - 1e6) ** 2 + noise(k, 0.01), 10)
                          for k, v in enumerate(x)])
    x = [1e6 + (k - 6) / 12 for k in range(13)]
    sets["mega05"] = (x, [rounded(2 + 3 * (v - 1e6) + 1.5 * (v - 1e6) ** 2 + noise(k, 1e-7), 15)
                          for k, v in enumerate(x)])
    x = [float(2000 + k) for k in range(26)]
    sets["annual"] = (x, [rounded(50 + 2 * (v - 2000) + 0.05 * (v - 2000) ** 2
                                  - 0.002 * (v - 2000) ** 3 + noise(k, 0.5), 8)
                          for k, v in enumerate(x)])
    x = [rounded(0.1 * (k + 1), 3) for k in range(20)]
    sets["nearzero"] = (x, [rounded(1 + 2 * v - 0.5 * v ** 2 + 0.1 * v ** 3 + noise(k, 0.01), 8)
                            for k, v in enumerate(x)])
    x = [float(k + 1) for k in range(20)]
    sets["tight"] = (x, [(3 + 0.5 * v - 0.02 * v * v) * (1 + 1e-9 * math.sin(2.3 * k))
                         for k, v in enumerate(x)])
    x = [float(k + 1) for k in range(8)]
    sets["constant"] = (x, [5.25] * 8)
    x = [float(1 + k // 3) for k in range(18)]
    sets["replicates"] = (x, [rounded(2 + 0.8 * v + 0.3 * v * v + noise(k, 0.2), 8)
                              for k, v in enumerate(x)])
    return sets


# The cases: set, model, order. Log models only where their logarithms have values, and not on
# the tight set: a logarithm rounded to a double moves a residual of 1e-9 in its seventh digit.
CASES = [("monthly", m, o) for m, o in [("poly", 3), ("loglog", 3), ("semilogy", 1),
                                         ("semilogx", 1)]]
CASES += [("mega10", "poly", 2), ("mega05", "poly", 2)]
CASES += [("annual", "poly", o) for o in range(1, 7)]
CASES += [("annual", "loglog", 2), ("annual", "semilogy", 1), ("annual", "semilogx", 1)]
CASES += [("nearzero", m, o) for m, o in [("poly", 3), ("loglog", 3), ("semilogy", 1),
                                          ("semilogx", 1)]]
CASES += [("tight", "poly", 2)]
CASES += [("constant", "poly", 1), ("constant", "semilogy", 1)]
CASES += [("replicates", m, o) for m, o in [("poly", 2), ("loglog", 2), ("semilogy", 1),
                                            ("semilogx", 1)]]


class Model:
    """The fitted scale of a model: input and output there and back, exactly."""

    def __init__(self, name, xs, ys):
        self.name = name
        self.xint = mp.log10(mpf(min(xs))) if name == "loglog" else mpf(0)
        self.yint = mp.log10(mpf(min(ys))) if name == "loglog" else mpf(0)

    def inputs(self, xs, ys):
        return ys if self.name == "semilogx" else xs

    def outputs(self, xs, ys):
        return xs if self.name == "semilogx" else ys

    def t(self, value):
        return mp.log10(mpf(value)) - self.xint if self.name == "loglog" else mpf(value)

    def v(self, value):
        if self.name == "poly":
            return mpf(value)
        if self.name == "loglog":
            return mp.log10(mpf(value)) - self.yint
        return mp.log(mpf(value))

    def input_back(self, t):
        return mp.power(10, t + self.xint) if self.name == "loglog" else t

    def output_back(self, v):
        if self.name == "poly":
            return v
        if self.name == "loglog":
            return mp.power(10, v + self.yint)
        return mp.exp(v)

    def slope(self, output):
        if self.name == "poly":
            return mpf(1)
        if self.name == "loglog":
            return output * mp.log(10)
        return output


def semilog_rows(rows):
    """The rows of B and ln(A) of a semilog line as ln(C[1]), C[2] and C[1] taken back."""
    b, ln_a = rows
    ln_a["name"], b["name"] = "ln(C[1])", "C[2]"
    a = {"name": "C[1]", "estimate": mp.exp(ln_a["estimate"]),
         "std_error": mp.exp(ln_a["estimate"]) * ln_a["std_error"], "t": None, "p": None,
         "ci_low": mp.exp(ln_a["ci_low"]), "ci_high": mp.exp(ln_a["ci_high"])}
    return [ln_a, b, a]


def two_sided_p(t, dof):
    return mp.betainc(mpf(dof) / 2, mpf(1) / 2, 0, dof / (dof + t * t), regularized=True)


def t_quantile(dof, level):
    alpha = 1 - mpf(level)
    return mp.findroot(lambda q: two_sided_p(q, dof) - alpha, mpf(2))


def number(value):
    return None if value is None else float(value)


class Fit:
    def __init__(self, t, v, order):
        self.t, self.v, self.order = t, v, order
        p = order + 1
        A = mp.matrix([[ti ** k for k in range(p)] for ti in t])
        G = A.T * A
        self.ginv = mp.inverse(G)
        self.a = self.ginv * (A.T * mp.matrix(v))  # ascending powers
        self.n = len(t)
        self.dof = self.n - p
        self.constant = all(vi == v[0] for vi in v)
        if self.constant:  # the constant itself, without the solver's last-digit noise
            self.a = mp.matrix([v[0]] + [0] * order)
        self.sse = sum((vi - self.value(ti)) ** 2 for ti, vi in zip(t, v))
        mean = sum(v) / self.n
        self.sst = sum((vi - mean) ** 2 for vi in v)
        self.s = mp.sqrt(self.sse / self.dof)
        self.q = t_quantile(self.dof, LEVEL)

    def value(self, t):
        return sum(self.a[k] * t ** k for k in range(self.order + 1))

    def slope(self, t):
        return sum(k * self.a[k] * t ** (k - 1) for k in range(1, self.order + 1))

    def leverage(self, t):
        g = mp.matrix([t ** k for k in range(self.order + 1)])
        return (g.T * self.ginv * g)[0]

    def statistics(self, semilog):
        rows = []
        for k in range(self.order, -1, -1):
            est = self.a[k]
            se = self.s * mp.sqrt(self.ginv[k, k])
            row = {"name": f"C[{self.order - k + 1}]", "estimate": est, "std_error": se,
                   "t": None, "p": None, "ci_low": None, "ci_high": None}
            if not (self.constant and k > 0):
                row["ci_low"], row["ci_high"] = est - self.q * se, est + self.q * se
                if se > 0:
                    row["t"] = est / se
                    row["p"] = two_sided_p(row["t"], self.dof)
                elif est != 0:
                    row["p"] = mpf(0)  # known exactly, and not zero
            rows.append(row)
        if semilog:
            rows = semilog_rows(rows)
        s2 = self.sse / self.dof
        out = {"coefficients": [{key: (number(val) if key != "name" else val)
                                 for key, val in row.items()} for row in rows],
               "residual_std_dev": number(self.s), "sse": number(self.sse),
               "r_squared": 1.0 if self.sst == 0 else number(1 - self.sse / self.sst),
               "adj_r_squared": 1.0 if self.sst == 0
               else number(1 - s2 / (self.sst / (self.n - 1))),
               "f": None, "f_p": None}
        if self.sst > 0 and self.sse > 0:
            f = (self.sst - self.sse) / self.order / s2
            out["f"] = number(f)
            out["f_p"] = number(mp.betainc(mpf(self.dof) / 2, mpf(self.order) / 2, 0,
                                           self.dof / (self.dof + self.order * f),
                                           regularized=True))
        return out


def predict(fit, model, value):
    t = model.t(value)
    v = fit.value(t)
    lev = fit.leverage(t)
    output = model.output_back(v)
    se_fit, se_pred = fit.s * mp.sqrt(lev), fit.s * mp.sqrt(1 + lev)
    return {"input": value, "output": number(output),
            "se_mean": number(se_fit * abs(model.slope(output))),
            "mean_low": number(model.output_back(v - fit.q * se_fit)),
            "mean_high": number(model.output_back(v + fit.q * se_fit)),
            "pred_low": number(model.output_back(v - fit.q * se_pred)),
            "pred_high": number(model.output_back(v + fit.q * se_pred))}


def bisect(inside, a, b):
    for _ in range(400):
        m = (a + b) / 2
        if inside(m):
            a = m
        else:
            b = m
    return (a + b) / 2


def interval_ends(inside, t0, lo, hi):
    """Where the inputs inside the interval end on the way from t0 to lo and to hi (None: never)."""
    ends = []
    for end in (lo, hi):
        found, previous = None, t0
        for i in range(1, 4097):
            t = t0 + (end - t0) * i / 4096
            if not inside(t):
                found = bisect(inside, previous, t)
                break
            previous = t
        ends.append(found)
    return ends


def estimate(model, t0, lower, upper):
    return {"input": number(model.input_back(t0)),
            "lower": None if lower is None else number(model.input_back(lower)),
            "upper": None if upper is None else number(model.input_back(upper))}


def calibrate(fit, model, observed, lo, hi, mean_response, wald):
    target = model.v(observed)
    scatter = 0 if mean_response else 1
    coefficients = [fit.a[k] for k in range(fit.order, -1, -1)]
    coefficients[-1] -= target
    roots = []
    if all(c == 0 for c in coefficients[:-1]):
        return {"observed": observed, "mean_response": mean_response,
                "interval": "wald" if wald else "inversion", "flat": True, "estimates": []}
    for r in mp.polyroots(coefficients, maxsteps=500, extraprec=400):
        r = mp.mpc(r)
        if abs(r.imag) < mpf(10) ** -40 and lo <= r.real <= hi:
            roots.append(r.real)
    roots.sort()
    ts = fit.q * fit.s
    estimates = []
    for t0 in roots:
        if wald:
            half = ts * mp.sqrt(scatter + fit.leverage(t0)) / abs(fit.slope(t0))
            lower, upper = t0 - half, t0 + half
        else:
            def inside(t):
                return (fit.value(t) - target) ** 2 <= ts * ts * (scatter + fit.leverage(t))
            lower, upper = interval_ends(inside, t0, lo, hi)
        estimates.append(estimate(model, t0, lower, upper))
    return {"observed": observed, "mean_response": mean_response,
            "interval": "wald" if wald else "inversion", "flat": False, "estimates": estimates}


def main():
    sets = make_sets()
    cases = []
    for set_name, model_name, order in CASES:
        xs, ys = sets[set_name]
        model = Model(model_name, xs, ys)
        inputs, outputs = model.inputs(xs, ys), model.outputs(xs, ys)
        t = [model.t(x) for x in inputs]
        v = [model.v(y) for y in outputs]
        fit = Fit(t, v, order)
        low, high = min(inputs), max(inputs)
        span = high - low
        at = [low, low + 0.37 * span, high, high + 0.25 * span]
        if low - 0.1 * span > 0 or model_name != "loglog":
            at.append(low - 0.1 * span)
        lo_t, hi_t = model.t(low), model.t(high)
        calibrations = []
        for share in (0.3, 0.7):
            observed = rounded(float(model.output_back(fit.value(model.t(low + share * span)))),
                               7)
            for mean_response in (False, True):
                for wald in (False, True):
                    calibrations.append(calibrate(fit, model, observed, lo_t, hi_t,
                                                  mean_response, wald))
        cases.append({"name": f"{set_name} {model_name} {order}", "model": model_name,
                      "order": order, "x": xs, "y": ys,
                      "statistics": fit.statistics(model_name.startswith("semilog")),
                      "predictions": [predict(fit, model, value) for value in at],
                      "calibrations": calibrations})
    print(json.dumps({"level": LEVEL, "cases": cases}, indent=1))


if __name__ == "__main__":
    main()
