#include "fit/ModelEval.h"

#include "data/LumetraDoc.h"
#include "fit/CurveModels.h"

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
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    if (!model)
        return false;
    const CurveParams curve{doc.m_dCoef, doc.m_nOrder, doc.m_dXInt, doc.m_dYInt};
    return model->xFromY ? model->evaluate(curve, y, x) : model->evaluate(curve, x, y);
}

} // namespace lumetra
