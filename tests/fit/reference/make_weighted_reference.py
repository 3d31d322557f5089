#!/usr/bin/python3
"""100-digit references for weighted fits: every scheme, all four models, relative and absolute.

Run once with Debian's python3 (mpmath):
    /usr/bin/python3 make_weighted_reference.py > weighted_reference.json
The weighted least-squares problem (AᵀWA)a = AᵀWv is solved on the raw powers of the fitted scale
in 100-digit arithmetic. A weight is taken in measured units (1/σ², 1/X, 1/X², 1/Y, 1/Y², or 1/s²
of the readings at one input) and into the fitted scale by the first-order rule: times the square
of d(measured)/d(fitted). The statistics are those of R's summary.lm(weights=); with absolute
standard deviations the covariance is not scaled and the quantiles are the normal's.
check_weighted_with_r.R compares a part of them with R's lm itself.
"""
import json
import math

from mpmath import mp, mpf

from make_fit_reference import (LEVEL, Fit, Model, estimate, interval_ends, noise, number,
                                rounded, semilog_rows, t_quantile, two_sided_p)

mp.dps = 100


def make_sets():
    sets = {}
    # Calibration standards over two decades, three readings at each level, scatter growing with
    # the signal; σ of each reading 2 % of it plus 0.01.
    levels = [1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0]
    x = [v for v in levels for _ in range(3)]
    y = [rounded(0.3 + 2.1 * v + 0.002 * v * v + 0.02 * (0.3 + 2.1 * v) * math.sin(2.1 * k + 0.4),
                 8) for k, v in enumerate(x)]
    s = [rounded(0.02 * abs(v) + 0.01, 4) for v in y]
    sets["standards"] = (x, y, s)
    # Years, far from zero, two readings a year.
    x = [float(2000 + k // 2) for k in range(24)]
    y = [rounded(40 + 1.5 * (v - 2000) + 0.03 * (v - 2000) ** 2 + noise(k, 0.4), 8)
         for k, v in enumerate(x)]
    s = [rounded(0.2 + 0.02 * (v - 2000), 4) for v in x]
    sets["years"] = (x, y, s)
    return sets


SCHEMES = ["sigma", "1/x", "1/x2", "1/y", "1/y2", "replicates"]
CASES = []
for model, order in [("poly", 2), ("loglog", 2), ("semilogy", 1), ("semilogx", 1)]:
    for scheme in SCHEMES:
        # X=Ae^BY computes from Y, whose readings never repeat: no replicates there.
        if not (model == "semilogx" and scheme == "replicates"):
            CASES.append(("standards", model, order, scheme, False))
    CASES.append(("standards", model, order, "sigma", True))
for scheme in SCHEMES:
    CASES.append(("years", "poly", 2, scheme, False))
CASES.append(("years", "poly", 2, "sigma", True))
CASES.append(("years", "semilogy", 1, "replicates", False))


def measured_weight(scheme, x, y, sigma):
    if scheme == "sigma":
        return 1 / (mpf(sigma) ** 2)
    value = mpf(x) if scheme in ("1/x", "1/x2") else mpf(y)
    return 1 / value ** 2 if scheme.endswith("2") else 1 / value


def replicate_weights(model, xs, ys):
    inputs, outputs = model.inputs(xs, ys), model.outputs(xs, ys)
    groups = {}
    for i, o in zip(inputs, outputs):
        groups.setdefault(i, []).append(mpf(o))
    variance = {}
    for i, values in groups.items():
        mean = sum(values) / len(values)
        variance[i] = sum((v - mean) ** 2 for v in values) / (len(values) - 1)
    return [1 / variance[i] for i in inputs]


def normal_quantile(level):
    return mp.sqrt(2) * mp.erfinv(mpf(level))


class WeightedFit(Fit):
    """Fit's curve, slope and leverage over the weighted solution."""

    # pylint: disable=super-init-not-called
    def __init__(self, t, v, w, order, absolute):
        self.t, self.v, self.w, self.order = t, v, w, order
        p = order + 1
        A = mp.matrix([[ti ** k for k in range(p)] for ti in t])
        W = mp.diag(w)
        self.ginv = mp.inverse(A.T * W * A)
        self.a = self.ginv * (A.T * W * mp.matrix(v))
        self.n = len(t)
        self.dof = self.n - p
        self.sse = sum(wi * (vi - self.value(ti)) ** 2 for ti, vi, wi in zip(t, v, w))
        mean = sum(wi * vi for vi, wi in zip(v, w)) / sum(w)
        self.sst = sum(wi * (vi - mean) ** 2 for vi, wi in zip(v, w))
        self.s = mp.sqrt(self.sse / self.dof)
        self.absolute = absolute
        self.scale = mpf(1) if absolute else self.s
        self.q = normal_quantile(LEVEL) if absolute else t_quantile(self.dof, LEVEL)
        self.mean_weight = sum(w) / self.n

    def p_of(self, t):
        return mp.erfc(abs(t) / mp.sqrt(2)) if self.absolute else two_sided_p(t, self.dof)

    def statistics(self, semilog):
        rows = []
        for k in range(self.order, -1, -1):
            est = self.a[k]
            se = self.scale * mp.sqrt(self.ginv[k, k])
            rows.append({"name": f"C[{self.order - k + 1}]", "estimate": est, "std_error": se,
                         "t": est / se, "p": self.p_of(est / se),
                         "ci_low": est - self.q * se, "ci_high": est + self.q * se})
        if semilog:
            rows = semilog_rows(rows)
        s2 = self.sse / self.dof
        f = (self.sst - self.sse) / self.order / s2
        return {"coefficients": [{key: (number(val) if key != "name" else val)
                                  for key, val in row.items()} for row in rows],
                "residual_std_dev": number(self.s), "sse": number(self.sse),
                "r_squared": number(1 - self.sse / self.sst),
                "adj_r_squared": number(1 - s2 / (self.sst / (self.n - 1))),
                "f": number(f),
                "f_p": number(mp.betainc(mpf(self.dof) / 2, mpf(self.order) / 2, 0,
                                         self.dof / (self.dof + self.order * f),
                                         regularized=True)),
                "chi_square": number(self.sse), "reduced_chi_square": number(s2),
                "chi_square_p": number(mp.gammainc(mpf(self.dof) / 2, self.sse / 2, mp.inf,
                                                   regularized=True)),
                "effective_pairs": number(sum(self.w) ** 2 / sum(wi * wi for wi in self.w)),
                "pearson": [number(mp.sqrt(wi) * (vi - self.value(ti)))
                            for ti, vi, wi in zip(self.t, self.v, self.w)]}


class Case:
    """One weighted fit with the weight its scheme gives a new observation."""

    def __init__(self, model, scheme, fit):
        self.model, self.scheme, self.fit = model, scheme, fit

    def new_weight(self, t, sigma):
        output = self.model.output_back(self.fit.value(t))
        slope = self.model.slope(output)
        if sigma is not None:
            return slope ** 2 / mpf(sigma) ** 2
        if self.scheme in ("sigma", "replicates"):
            return self.fit.mean_weight
        inp = self.model.input_back(t)
        x, y = (output, inp) if self.model.name == "semilogx" else (inp, output)
        return measured_weight(self.scheme, x, y, None) * slope ** 2


def predict(case, value, sigma):
    fit, model = case.fit, case.model
    t = model.t(value)
    v = fit.value(t)
    lev = fit.leverage(t)
    output = model.output_back(v)
    se_fit = fit.scale * mp.sqrt(lev)
    weight = case.new_weight(t, sigma)
    # A scheme that gives the new observation no weight (1/X at X <= 0) gives no interval.
    se_pred = fit.scale * mp.sqrt(1 / weight + lev) if weight > 0 else None
    return {"input": value, "sigma": sigma, "output": number(output),
            "se_mean": number(se_fit * abs(model.slope(output))),
            "mean_low": number(model.output_back(v - fit.q * se_fit)),
            "mean_high": number(model.output_back(v + fit.q * se_fit)),
            "pred_low": se_pred and number(model.output_back(v - fit.q * se_pred)),
            "pred_high": se_pred and number(model.output_back(v + fit.q * se_pred))}


def calibrate(case, observed, lo, hi, mean_response, wald, sigma):
    fit, model = case.fit, case.model
    target = model.v(observed)
    coefficients = [fit.a[k] for k in range(fit.order, -1, -1)]
    coefficients[-1] -= target
    roots = sorted(r.real for r in map(mp.mpc, mp.polyroots(coefficients, maxsteps=500,
                                                            extraprec=400))
                   if abs(r.imag) < mpf(10) ** -40 and lo <= r.real <= hi)

    def scatter(t):
        if mean_response:
            return 0
        weight = case.new_weight(t, sigma)
        return 1 / weight if weight > 0 else mp.inf

    ts = fit.q * fit.scale
    estimates = []
    for t0 in roots:
        if wald:
            half = ts * mp.sqrt(scatter(t0) + fit.leverage(t0)) / abs(fit.slope(t0))
            lower, upper = t0 - half, t0 + half
        else:
            def inside(t):
                return (fit.value(t) - target) ** 2 <= ts * ts * (scatter(t) + fit.leverage(t))
            lower, upper = interval_ends(inside, t0, lo, hi)
        estimates.append(estimate(model, t0, lower, upper))
    return {"observed": observed, "mean_response": mean_response, "sigma": sigma,
            "interval": "wald" if wald else "inversion", "flat": False, "estimates": estimates}


def main():
    sets = make_sets()
    cases = []
    for set_name, model_name, order, scheme, absolute in CASES:
        xs, ys, ss = sets[set_name]
        model = Model(model_name, xs, ys)
        inputs, outputs = model.inputs(xs, ys), model.outputs(xs, ys)
        t = [model.t(x) for x in inputs]
        v = [model.v(y) for y in outputs]
        if scheme == "replicates":
            measured = replicate_weights(model, xs, ys)
        else:
            measured = [measured_weight(scheme, x, y, s) for x, y, s in zip(xs, ys, ss)]
        w = [m * model.slope(mpf(o)) ** 2 for m, o in zip(measured, outputs)]
        case = Case(model, scheme, WeightedFit(t, v, w, order, absolute))
        low, high = min(inputs), max(inputs)
        span = high - low
        at = [low, low + 0.37 * span, high, high + 0.25 * span]
        if low - 0.1 * span > 0 or model_name != "loglog":
            at.append(low - 0.1 * span)
        given = ss[len(ss) // 2]  # a σ the user gives the new observation
        predictions = [predict(case, value, None) for value in at]
        predictions.append(predict(case, low + 0.5 * span, given))
        lo_t, hi_t = model.t(low), model.t(high)
        calibrations = []
        for share in (0.3, 0.7):
            observed = rounded(float(model.output_back(case.fit.value(model.t(low + share * span)))),
                               7)
            for mean_response in (False, True):
                for wald in (False, True):
                    calibrations.append(calibrate(case, observed, lo_t, hi_t, mean_response, wald,
                                                  None))
            for wald in (False, True):
                calibrations.append(calibrate(case, observed, lo_t, hi_t, False, wald, given))
        cases.append({"name": f"{set_name} {model_name} {order} {scheme}"
                              + (" absolute" if absolute else ""),
                      "model": model_name, "order": order, "weights": scheme,
                      "absolute": absolute, "x": xs, "y": ys, "sigma": ss,
                      "statistics": case.fit.statistics(model_name.startswith("semilog")),
                      "predictions": predictions, "calibrations": calibrations})
    print(json.dumps({"level": LEVEL, "cases": cases}, indent=1))


if __name__ == "__main__":
    main()
