#pragma once

namespace lumetra {

class CLumetraDoc;

// x^n for a whole n >= 0 by repeated squaring, as the plot and the Compute pages raise powers.
double IntPow(double x, int n);

// The polynomial C[1]·u^n + ... + C[n+1], summed from the highest power down, powers by repeated
// squaring; u = 0 (of either sign) gives C[n+1] itself.
double EvalPolynomialSquaring(const double* coef, int order, double u);

// The fitted curve at one point, with the document's coefficients, order and log offsets. For
// curve types 0 to 2 it takes x and sets y; for type 3 it takes y and sets x. Returns false only
// for the log-log model at x <= 0, where the curve has no value.
bool EvalCurvePoint(const CLumetraDoc& doc, double& x, double& y);

} // namespace lumetra
