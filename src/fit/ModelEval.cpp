#include "fit/ModelEval.h"

#include "data/LumetraDoc.h"

#include <cmath>

namespace lumetra {

double IntPow(double x, int n) {
    double result = 1.0;
    double base = x;
    while (n > 0) {
        if (n & 1)
            result *= base;
        n >>= 1;
        if (n)
            base *= base;
    }
    return result;
}

double EvalPolynomialSquaring(const double* coef, int order, double u) {
    if (u == 0.0)
        return coef[order];
    double sum = 0.0;
    for (int j = 0; j < order; ++j)
        sum += coef[j] * IntPow(u, order - j);
    return sum + coef[order];
}

bool EvalCurvePoint(const CLumetraDoc& doc, double& x, double& y) {
    switch (doc.m_nCurveType) {
    case 0:
        y = EvalPolynomialSquaring(doc.m_dCoef, doc.m_nOrder, x);
        return true;
    case 1:
        if (x <= 0.0)
            return false;
        y = std::pow(10.0, doc.m_dYInt + EvalPolynomialSquaring(doc.m_dCoef, doc.m_nOrder,
                                                                std::log10(x) - doc.m_dXInt));
        return true;
    case 2:
        y = doc.m_dCoef[0] * std::exp(doc.m_dCoef[1] * x);
        return true;
    case 3:
        x = doc.m_dCoef[0] * std::exp(doc.m_dCoef[1] * y);
        return true;
    default:
        return false;
    }
}

} // namespace lumetra
