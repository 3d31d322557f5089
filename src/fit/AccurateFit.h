#pragma once

#include "data/LumetraDoc.h"

#include <span>

namespace lumetra {

// The least-squares polynomial of order n of v on u, and what its statistics need of the design
// matrix. Index 0 of every table belongs to the highest power (C[1]), index n to the constant.
struct AccurateSolution {
    bool solved = false; // false: the design matrix has not full rank
    int order = 0;
    long double coef[kMaxCoefs] = {};
    // (AᵀA)⁻¹ of the design matrix A; the coefficients' covariance is s² times this.
    long double inverse[kMaxCoefs][kMaxCoefs] = {};
    // The 2-norm condition number of A (columns u^n ... u, 1 unscaled).
    long double condition = 0.0L;
    // The power of two above the largest |u|: the columns were scaled by its powers.
    long double scale = 1.0L;
};

// Householder QR with column pivoting of the design matrix, its columns scaled by powers of two
// (exact), in long double. The rows are reduced in blocks of a fixed size, each block stacked
// under the triangle of the ones before, so the memory stays small and the bits do not depend
// on the number of cores.
AccurateSolution SolveAccurate(std::span<const double> u, std::span<const double> v, int order);

// NIST's log relative error: the significant digits `value` shares with `reference`, from 0 to
// kMaxDigits. The error is taken relative to the larger of |reference| and `least`; against 0
// and 0 it is the digits of the absolute error.
inline constexpr double kMaxDigits = 15.0;
double DigitsKept(double value, long double reference, long double least = 0.0L);

} // namespace lumetra
