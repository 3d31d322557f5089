#pragma once

namespace lumetra {

class CLumetraDoc;

// x^n for a whole n >= 0 by repeated squaring, as the plot and the Compute pages raise powers.
double IntPow(double x, int n);

// The polynomial C[1]·u^n + ... + C[n+1], summed from the highest power down, powers by repeated
// squaring; u = 0 (of either sign) gives C[n+1] itself.
double EvalPolynomialSquaring(const double* coef, int order, double u);

// The fitted curve at one point, with the document's model, coefficients, order and log offsets.
// A model of Y from X takes x and sets y; one of X from Y takes y and sets x. False where the
// curve has no value there, and for a curve type no model has.
bool EvalCurvePoint(const CLumetraDoc& doc, double& x, double& y);

} // namespace lumetra
