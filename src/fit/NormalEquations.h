#pragma once

#include "fit/FitLimits.h"

#include <span>

namespace lumetra {

// The normal equations of a least-squares polynomial of order n in one variable, in storage
// sized for the largest order. Index 0 of every table is row/column 1; rows and columns 0 to n
// are in use.
struct NormalEquations {
    double m_dNormal[kMaxCoefs][kMaxCoefs] = {};
    double m_dWork[kMaxCoefs][kMaxCoefs] = {};
    double m_dRhs[kMaxCoefs] = {};
    double m_dPowers[kMaxCoefs][kMaxCoefs] = {};
    double m_dRhsPowers[kMaxCoefs] = {};
};

// How each power x^e of a sum is formed. Pow is the fit's own rule. Products multiplies in long
// double and rounds once: the same double but in rare last-bit cases, at a fraction of the cost,
// for sums that only estimate what the fit's rule gives.
enum class PowerRule { Pow, Products };

// Fills the exponent tables, the normal matrix and the right-hand side of order n from the pairs
// (x[k], y[k]): every entry is its power sum over the pairs in pair order, the corner entry the
// pair count. With weights w (empty: none) every term is multiplied by its pair's weight and the
// corner is the weights' sum; weights of 1 give the same bits as none. Large inputs are summed on
// several cores with the same bits.
void BuildNormalEquations(std::span<const double> x, std::span<const double> y, int order,
                          NormalEquations& eq, PowerRule rule = PowerRule::Pow,
                          std::span<const double> w = {});

// Gauss-Jordan elimination with partial pivoting on the n + 1 unknowns; coef (n + 1 entries)
// serves as the right-hand side and ends as C[1] ... C[n+1]. False when a pivot is exactly 0.0:
// the matrix is singular and coef holds partial results.
bool SolveNormalEquations(NormalEquations& eq, int order, double* coef);

} // namespace lumetra
