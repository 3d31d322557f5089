#include "fit/NormalEquations.h"

#include "platform/WorkSplit.h"

#include <cmath>
#include <utility>

namespace lumetra {
namespace {

// Below this many pairs for each part a thread costs more than it saves.
constexpr size_t kMinPairsPerPart = 10000;

} // namespace

// Entries of equal exponent are equal, so only the 2n distinct power sums are formed, each once
// and in pair order, which gives the same bits as summing entry by entry. pow(x, e) also serves
// the right-hand side's entry of the same exponent. The parts own exponents, not pairs: part p
// sums the exponents e with e % parts == p, so every sum is the same whatever the part count.
void BuildNormalEquations(std::span<const double> x, std::span<const double> y, int order,
                          NormalEquations& eq, PowerRule rule, std::span<const double> w) {
    const int n = order;
    const int m = n + 1;
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j) {
            eq.m_dPowers[i][j] = double(2 * n - i - j);
            eq.m_dNormal[i][j] = 0.0;
            eq.m_dWork[i][j] = 0.0;
        }
        eq.m_dRhs[i] = 0.0;
        eq.m_dRhsPowers[i] = 0.0;
    }

    const size_t N = x.size();
    double powerSum[2 * kMaxOrder + 1] = {};
    double rhsSum[kMaxOrder + 1] = {};
    double ySum = 0.0, weightSum = double(N);
    const bool weighted = !w.empty();
    const int parts = std::min(WorkParts(N, kMinPairsPerPart), std::max(2 * n, 1));
    RunParts(parts, [&](int part, int count) {
        double ps[2 * kMaxOrder + 1] = {};
        double rs[kMaxOrder + 1] = {};
        double ys = 0.0, ws = 0.0;
        const int first = part == 0 ? count : part;
        // A weight of 1 multiplies exactly, so the unweighted sums keep their bits.
        auto add = [&](int e, double p, double yk, double wk) {
            p *= wk;
            ps[e] += p;
            if (e <= n)
                rs[e] += p * yk;
        };
        for (size_t k = 0; k < N; ++k) {
            const double xk = x[k];
            const double yk = y[k];
            const double wk = weighted ? w[k] : 1.0;
            if (rule == PowerRule::Pow) {
                for (int e = first; e <= 2 * n; e += count)
                    add(e, std::pow(xk, double(e)), yk, wk);
            } else {
                long double power = 1.0L;
                for (int e = 1; e <= 2 * n; ++e) {
                    power *= xk;
                    if (e % count == part)
                        add(e, double(power), yk, wk);
                }
            }
            if (part == 0) {
                ys += wk * yk;
                ws += wk;
            }
        }
        for (int e = first; e <= 2 * n; e += count) {
            powerSum[e] = ps[e];
            if (e <= n)
                rhsSum[e] = rs[e];
        }
        if (part == 0) {
            ySum = ys;
            if (weighted)
                weightSum = ws;
        }
    });

    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j)
            eq.m_dNormal[i][j] = (i == n && j == n) ? weightSum : powerSum[2 * n - i - j];
    for (int i = 0; i < n; ++i) {
        eq.m_dRhsPowers[i] = double(n - i);
        eq.m_dRhs[i] = rhsSum[n - i];
    }
    eq.m_dRhs[n] = ySum;
}

bool SolveNormalEquations(NormalEquations& eq, int order, double* coef) {
    const int m = order + 1;
    double* C = coef;
    auto& W = eq.m_dWork;
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j)
            W[i][j] = eq.m_dNormal[i][j];
        C[i] = eq.m_dRhs[i];
    }
    for (int c = 0; c < m; ++c) {
        int pivot = c;
        double largest = std::fabs(W[c][c]);
        for (int r = c + 1; r < m; ++r)
            if (std::fabs(W[r][c]) > largest) {
                largest = std::fabs(W[r][c]);
                pivot = r;
            }
        if (largest == 0.0)
            return false;
        if (pivot > c) {
            for (int j = 0; j < m; ++j)
                std::swap(W[pivot][j], W[c][j]);
            std::swap(C[pivot], C[c]);
        }
        const double p = W[c][c];
        C[c] /= p;
        for (int j = 0; j < m; ++j)
            W[c][j] /= p;
        for (int r = 0; r < m; ++r) {
            if (r == c)
                continue;
            const double g = W[r][c];
            if (g == 0.0)
                continue;
            C[r] -= g * C[c];
            for (int j = 0; j < m; ++j)
                W[r][j] -= g * W[c][j];
        }
    }
    return true;
}

} // namespace lumetra
