#pragma once

#include "data/LumetraDoc.h"

#include <vector>

namespace lumetra {

// True when every measured value of the fit (Y, or X for curve type 3) is the same: the
// coefficient of performance is then 1 by definition.
bool MeasuredValuesAllEqual(const CLumetraDoc& doc);

// The least-squares engine of a listing view: its working storage and the four models. It
// writes the fit result into the document. Index 0 of every table is row/column 1.
class CFitEngine {
public:
    explicit CFitEngine(CLumetraDoc& doc) : m_doc(doc) {}

    // What a listing view does on an update with hint 1: raise m_bFitting, fit, zero the
    // coefficients and statistics if the fit failed and note why in m_strFitFailure, lower the
    // flag. Returns FitCurve's result.
    int RefitDocument();

    int FitCurve();
    int FitPolynomial();
    int FitLogLog();
    int FitSemilogY();
    int FitSemilogX();
    int AllocateWorkArrays();
    void BuildNormalEquations();
    int SolveNormalEquations();

    std::vector<double> m_pWorkX;
    std::vector<double> m_pWorkY;
    double m_dNormal[kMaxCoefs][kMaxCoefs] = {};
    double m_dWork[kMaxCoefs][kMaxCoefs] = {};
    double m_dRhs[kMaxCoefs] = {};
    double m_dPowers[kMaxCoefs][kMaxCoefs] = {};
    double m_dRhsPowers[kMaxCoefs] = {};

private:
    struct Sums {
        double s1 = 0.0, s2 = 0.0, s3 = 0.0;
    };
    // Stores computed value and difference of every pair, the sum of absolute differences and the
    // coefficient of performance; computed[k] is the model value of pair k. Refuses with a message
    // and stores nothing (0) when any of them, a coefficient, XINT or YINT is not finite.
    int StoreFitStatistics(const std::vector<double>& computed, bool measuredIsX);
    // Fills computed[k] = the polynomial at m_pWorkX[k] with pow, the fit's rule.
    void EvalPolynomialAtWorkX(std::vector<double>& computed) const;
    int FitStraightLineOfLog(bool xFromY);
    int RefuseNonPositive(const char* model, bool xBad, bool yBad);
    // Shows why the fit cannot go on and keeps its first line as the reason; returns 0.
    int Refuse(const std::string& message);
    void FreeWorkArrays();

    CLumetraDoc& m_doc;
    std::string m_strFailure;
};

} // namespace lumetra
