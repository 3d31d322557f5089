#include "fit/FitEngine.h"

#include "fit/Parallel.h"
#include "platform/Ui.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace lumetra {
namespace {

constexpr const char* kCantFit = "Can't Fit the Curve";
constexpr const char* kSingular = "Matrix is Singular!\nCan't Fit the Curve";
constexpr const char* kTooLarge =
    "The data or the fitted curve hold numbers too large to compute with!\nCan't Fit the Curve";

} // namespace

bool MeasuredValuesAllEqual(const CLumetraDoc& doc) {
    const size_t N = size_t(std::max(0, std::min(doc.m_nPairs, int(doc.m_pPairs.size()))));
    if (N == 0)
        return false;
    auto measured = [&](size_t k) {
        return doc.m_nCurveType == 3 ? doc.m_pPairs[k].m_dX : doc.m_pPairs[k].m_dY;
    };
    for (size_t k = 1; k < N; ++k)
        if (measured(k) != measured(0))
            return false;
    return true;
}

int CFitEngine::RefitDocument() {
    m_doc.m_bFitting = 1;
    m_strFailure.clear();
    const int ok = FitCurve();
    // XINT and YINT keep what they hold: a log-log fit may have set them before it failed.
    if (!ok) {
        m_doc.m_dPerformance = 0.0;
        m_doc.m_dSumAbsDiff = 0.0;
        const int coefs = std::clamp(m_doc.m_nOrder + 1, 0, kMaxCoefs);
        std::fill(m_doc.m_dCoef, m_doc.m_dCoef + coefs, 0.0);
    }
    m_doc.m_strFitFailure = ok ? std::string() : m_strFailure;
    m_doc.m_bFitting = 0;
    return ok;
}

int CFitEngine::Refuse(const std::string& message) {
    m_doc.GetUi().MessageBox(message);
    m_strFailure = message.substr(0, message.find('\n'));
    return 0;
}

int CFitEngine::FitCurve() {
    Ui& ui = m_doc.GetUi();
    const int N = std::min(m_doc.m_nPairs, int(m_doc.m_pPairs.size()));
    const int type = m_doc.m_nCurveType;
    if (type == 0 || type == 1) {
        const int n = m_doc.m_nOrder;
        if (N <= n) {
            std::string text =
                FormatC("Must have a minimum of %d data points to fit the curve!\n", {n + 1});
            if (N <= 1)
                return Refuse(text + kCantFit);
            m_doc.m_nOrder = N - 1;
            ui.MessageBox(text + FormatC("Resetting curver order to %d!", {N - 1}));
        }
    } else if (type == 2 || type == 3) {
        if (N <= 2)
            return Refuse("Must have a minimum of 3 data points to fit the curve!\n" +
                          std::string(kCantFit));
    } else {
        return Refuse(FormatC("Curve type %d is not one this application fits!\n", {type}) +
                      kCantFit);
    }

    WaitCursor wait(ui);
    if (!AllocateWorkArrays())
        return 0;
    m_doc.ResetExtremes(m_doc.m_pPairs[0]);
    for (int k = 0; k < N; ++k) {
        const CXYdata& p = m_doc.m_pPairs[size_t(k)];
        m_pWorkX[size_t(k)] = p.m_dX;
        m_pWorkY[size_t(k)] = p.m_dY;
        m_doc.UpdateExtremes(p);
    }
    int result = 0;
    switch (type) {
    case 0:
        result = FitPolynomial();
        break;
    case 1:
        result = FitLogLog();
        break;
    case 2:
        result = FitSemilogY();
        break;
    case 3:
        result = FitSemilogX();
        break;
    }
    FreeWorkArrays();
    return result;
}

int CFitEngine::AllocateWorkArrays() {
    const size_t N = size_t(std::min(m_doc.m_nPairs, int(m_doc.m_pPairs.size())));
    try {
        m_pWorkX.assign(N, 0.0);
        m_pWorkY.assign(N, 0.0);
    } catch (const std::bad_alloc&) {
        FreeWorkArrays();
        return Refuse("Out of Memory!\nSHUT DOWN APPLICATION NOW!");
    }
    return 1;
}

void CFitEngine::FreeWorkArrays() {
    std::vector<double>().swap(m_pWorkX);
    std::vector<double>().swap(m_pWorkY);
}

// Each entry of the normal matrix is the sum of pow(x, e) over the pairs in pair order; entries
// of equal exponent are equal, so only the 2n distinct sums are formed, each once and in the
// same order, which gives the same bits as summing entry by entry. pow(x, e) also serves the
// right-hand side's entry of the same exponent.
void CFitEngine::BuildNormalEquations() {
    const int n = m_doc.m_nOrder;
    const int m = n + 1;
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j) {
            m_dPowers[i][j] = double(2 * n - i - j);
            m_dNormal[i][j] = 0.0;
            m_dWork[i][j] = 0.0;
        }
        m_dRhs[i] = 0.0;
        m_dRhsPowers[i] = 0.0;
        m_doc.m_dCoef[i] = 0.0;
    }

    const size_t N = m_pWorkX.size();
    const double* x = m_pWorkX.data();
    const double* y = m_pWorkY.data();
    double powerSum[2 * kMaxOrder + 1] = {};
    double rhsSum[kMaxOrder + 1] = {};
    double ySum = 0.0;
    RunOnCores(N, [&](int part, int parts) {
        // This part owns the exponents e with e % parts == part; nobody else writes their sums.
        double ps[2 * kMaxOrder + 1] = {};
        double rs[kMaxOrder + 1] = {};
        double ys = 0.0;
        const int first = part + (part == 0 ? parts : 0);
        for (size_t k = 0; k < N; ++k) {
            const double xk = x[k];
            const double yk = y[k];
            for (int e = first; e <= 2 * n; e += parts) {
                const double p = std::pow(xk, double(e));
                ps[e] += p;
                if (e <= n)
                    rs[e] += p * yk;
            }
            if (part == 0)
                ys += yk;
        }
        for (int e = first; e <= 2 * n; e += parts) {
            powerSum[e] = ps[e];
            if (e <= n)
                rhsSum[e] = rs[e];
        }
        if (part == 0)
            ySum = ys;
    });

    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j)
            m_dNormal[i][j] = (i == n && j == n) ? double(N) : powerSum[2 * n - i - j];
    for (int i = 0; i < n; ++i) {
        m_dRhsPowers[i] = double(n - i);
        m_dRhs[i] = rhsSum[n - i];
    }
    m_dRhs[n] = ySum;
}

// Gauss-Jordan elimination with partial pivoting; the coefficients serve as right-hand side.
int CFitEngine::SolveNormalEquations() {
    const int m = m_doc.m_nOrder + 1;
    double* C = m_doc.m_dCoef;
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j)
            m_dWork[i][j] = m_dNormal[i][j];
        C[i] = m_dRhs[i];
    }
    for (int c = 0; c < m; ++c) {
        int pivot = c;
        double largest = std::fabs(m_dWork[c][c]);
        for (int r = c + 1; r < m; ++r)
            if (std::fabs(m_dWork[r][c]) > largest) {
                largest = std::fabs(m_dWork[r][c]);
                pivot = r;
            }
        if (largest == 0.0)
            return Refuse(kSingular);
        if (pivot > c) {
            for (int j = 0; j < m; ++j)
                std::swap(m_dWork[pivot][j], m_dWork[c][j]);
            std::swap(C[pivot], C[c]);
        }
        const double p = m_dWork[c][c];
        C[c] /= p;
        for (int j = 0; j < m; ++j)
            m_dWork[c][j] /= p;
        for (int r = 0; r < m; ++r) {
            if (r == c)
                continue;
            const double g = m_dWork[r][c];
            if (g == 0.0)
                continue;
            C[r] -= g * C[c];
            for (int j = 0; j < m; ++j)
                m_dWork[r][j] -= g * m_dWork[c][j];
        }
    }
    return 1;
}

void CFitEngine::EvalPolynomialAtWorkX(std::vector<double>& computed) const {
    const int n = m_doc.m_nOrder;
    const double* C = m_doc.m_dCoef;
    const size_t N = m_pWorkX.size();
    RunOnCores(N, [&](int part, int parts) {
        const size_t begin = N * size_t(part) / size_t(parts);
        const size_t end = N * size_t(part + 1) / size_t(parts);
        for (size_t k = begin; k < end; ++k) {
            const double x = m_pWorkX[k];
            if (x == 0.0) {
                computed[k] = C[n];
                continue;
            }
            double sum = 0.0;
            for (int j = 0; j < n; ++j)
                sum += C[j] * std::pow(x, double(n - j));
            computed[k] = sum + C[n];
        }
    });
}

int CFitEngine::StoreFitStatistics(const std::vector<double>& computed, bool measuredIsX) {
    double sumAbs = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    const size_t N = computed.size();
    bool finite = true;
    for (size_t k = 0; k < N; ++k) {
        const CXYdata& p = m_doc.m_pPairs[k];
        const double measured = measuredIsX ? p.m_dX : p.m_dY;
        const double difference = measured - computed[k];
        finite = finite && std::isfinite(computed[k]) && std::isfinite(difference);
        sumAbs += std::fabs(difference);
        s1 += computed[k] * measured;
        s2 += measured;
        s3 += measured * measured;
    }
    const double s4 = s2 * s2 / double(N);
    // Equal measured values leave no variation: every model reproduces a constant, so the fit
    // explains all there is to explain. Asked of the values themselves, since rounding in the
    // sums makes S3 - S4 anything near zero.
    const double performance =
        MeasuredValuesAllEqual(m_doc) ? 1.0 : std::fabs((s1 - s4) / (s3 - s4));

    // Overflow anywhere on the way (a huge value raised to a high power, an inf typed in) leaves
    // inf or nan, which must reach neither the report nor the file.
    const int coefs = m_doc.m_nCurveType >= 2 ? 2 : m_doc.m_nOrder + 1;
    for (int k = 0; k < coefs; ++k)
        finite = finite && std::isfinite(m_doc.m_dCoef[k]);
    if (!finite || !std::isfinite(sumAbs) || !std::isfinite(performance) ||
        !std::isfinite(m_doc.m_dXInt) || !std::isfinite(m_doc.m_dYInt))
        return Refuse(kTooLarge);
    for (size_t k = 0; k < N; ++k) {
        CXYdata& p = m_doc.m_pPairs[k];
        p.m_dComputed = computed[k];
        p.m_dDifference = (measuredIsX ? p.m_dX : p.m_dY) - computed[k];
    }
    m_doc.m_dSumAbsDiff = sumAbs;
    m_doc.m_dPerformance = performance;
    return 1;
}

int CFitEngine::FitPolynomial() {
    BuildNormalEquations();
    if (!SolveNormalEquations())
        return 0;
    m_doc.m_dXInt = 0.0;
    m_doc.m_dYInt = 0.0;
    std::vector<double> computed(m_pWorkX.size());
    EvalPolynomialAtWorkX(computed);
    return StoreFitStatistics(computed, false);
}

int CFitEngine::RefuseNonPositive(const char* model, bool xBad, bool yBad) {
    const char* first = xBad && yBad ? "Values in both X & Y arrays are <= 0.0!\n"
                        : xBad       ? "One or more values in X array is <= 0.0!\n"
                                     : "One or more values in Y array is <= 0.0!\n";
    return Refuse(std::string(first) + "This will cause an error during Fitting!\n" +
                  "**  Can't Fit " + model + " Curve  **");
}

int CFitEngine::FitLogLog() {
    const bool xBad = m_doc.m_dMinX <= 0.0;
    const bool yBad = m_doc.m_dMinY <= 0.0;
    if (xBad || yBad)
        return RefuseNonPositive("Log-Log", xBad, yBad);
    m_doc.m_dXInt = std::log10(m_doc.m_dMinX);
    m_doc.m_dYInt = std::log10(m_doc.m_dMinY);
    for (size_t k = 0; k < m_pWorkX.size(); ++k) {
        m_pWorkX[k] = std::log10(m_pWorkX[k]) - m_doc.m_dXInt;
        m_pWorkY[k] = std::log10(m_pWorkY[k]) - m_doc.m_dYInt;
    }
    BuildNormalEquations();
    if (!SolveNormalEquations())
        return 0;
    std::vector<double> computed(m_pWorkX.size());
    EvalPolynomialAtWorkX(computed);
    for (double& g : computed)
        g = std::pow(10.0, m_doc.m_dYInt + g);
    return StoreFitStatistics(computed, false);
}

int CFitEngine::FitSemilogY() {
    return FitStraightLineOfLog(false);
}

int CFitEngine::FitSemilogX() {
    return FitStraightLineOfLog(true);
}

// ln(measured) = ln(A) + B · other, in closed form: Y from X for model 2, X from Y for model 3.
int CFitEngine::FitStraightLineOfLog(bool xFromY) {
    // The logarithm of a value <= 0 is no number; refuse as the log-log model does.
    if (xFromY ? m_doc.m_dMinX <= 0.0 : m_doc.m_dMinY <= 0.0)
        return RefuseNonPositive("Semilog", xFromY, !xFromY);
    const size_t N = m_pWorkX.size();
    for (size_t k = 0; k < N; ++k) {
        const CXYdata& p = m_doc.m_pPairs[k];
        m_pWorkX[k] = xFromY ? p.m_dY : p.m_dX;
        m_pWorkY[k] = std::log(xFromY ? p.m_dX : p.m_dY);
    }
    double sx = 0.0, sxx = 0.0, sxy = 0.0, sy = 0.0;
    for (size_t k = 0; k < N; ++k) {
        const double x = m_pWorkX[k];
        const double ly = m_pWorkY[k];
        sx += x;
        sxx += x * x;
        sxy += x * ly;
        sy += ly;
    }
    const double n = double(N);
    const double b = (sxy - sy * sx / n) / (sxx - sx * sx / n);
    const double a = std::exp((sy - sx * b) / n);
    if (!std::isfinite(a) || !std::isfinite(b)) {
        // With finite sums only a zero denominator gives this: all the line's values are equal.
        const bool sumsFinite =
            std::isfinite(sx) && std::isfinite(sxx) && std::isfinite(sxy) && std::isfinite(sy);
        return Refuse(sumsFinite ? kSingular : kTooLarge);
    }
    m_doc.m_dCoef[1] = b;
    m_doc.m_dCoef[0] = a;
    m_doc.m_dXInt = 0.0;
    m_doc.m_dYInt = 0.0;
    std::vector<double> computed(N);
    for (size_t k = 0; k < N; ++k)
        computed[k] = a * std::exp(b * m_pWorkX[k]);
    return StoreFitStatistics(computed, xFromY);
}

} // namespace lumetra
