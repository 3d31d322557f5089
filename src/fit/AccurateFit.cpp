#include "fit/AccurateFit.h"

#include "platform/WorkSplit.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

namespace lumetra {
namespace {

using LD = long double;
using MatrixL = Eigen::Matrix<LD, Eigen::Dynamic, Eigen::Dynamic>;
using VectorL = Eigen::Matrix<LD, Eigen::Dynamic, 1>;

// Rows reduced by one small factorization: the block and the triangle stay in the cache.
constexpr size_t kBlockRows = 256;
// Rows reduced into one triangle before the triangles are joined in order; fixed, so every
// machine splits the same way and gets the same bits.
constexpr size_t kChunkRows = size_t(1) << 16;
// A column that is a combination of the others to this many parts of the largest pivot makes the
// design rank deficient: the data hold no more digits than a double.
constexpr LD kRankTolerance = 64 * LD(DBL_EPSILON);

// 2^e with |x| < 2^e for the largest |x|: dividing by it is exact and brings every value below 1.
LD PowerOfTwoAbove(LD largest) {
    if (!(largest > 0.0L) || !std::isfinite(largest))
        return 1.0L;
    int e = 0;
    std::frexp(largest, &e);
    return std::ldexp(1.0L, e);
}

// The triangle R of [A v] (m+1 columns: u/s to the powers 0 ... m-1, then v) for rows
// [begin, end), block by block: each block is stacked under the triangle so far and factored.
MatrixL ReduceRows(std::span<const double> u, std::span<const double> v, size_t begin, size_t end,
                   int m, LD scale) {
    const int cols = m + 1;
    MatrixL stack = MatrixL::Zero(cols + Eigen::Index(kBlockRows), cols);
    Eigen::HouseholderQR<MatrixL> qr(stack.rows(), cols);
    for (size_t first = begin; first < end; first += kBlockRows) {
        const size_t rows = std::min(kBlockRows, end - first);
        for (size_t k = 0; k < rows; ++k) {
            const LD w = LD(u[first + k]) / scale;
            LD power = 1.0L;
            for (int j = 0; j < m; ++j) {
                stack(cols + Eigen::Index(k), j) = power;
                power *= w;
            }
            stack(cols + Eigen::Index(k), m) = LD(v[first + k]);
        }
        stack.bottomRows(Eigen::Index(kBlockRows - rows)).setZero();
        qr.compute(stack);
        stack.topRows(cols) = qr.matrixQR().topRows(cols).triangularView<Eigen::Upper>();
        stack.bottomRows(Eigen::Index(kBlockRows)).setZero();
    }
    return stack.topRows(cols);
}

// The triangles of the chunks, joined in chunk order into one.
MatrixL ReduceAllRows(std::span<const double> u, std::span<const double> v, int m, LD scale) {
    const size_t N = u.size();
    const size_t chunks = std::max<size_t>(1, (N + kChunkRows - 1) / kChunkRows);
    std::vector<MatrixL> triangles(chunks);
    // Each chunk is reduced on its own, so the part count never changes the bits.
    RunParts(WorkParts(N, 20000), [&](int part, int parts) {
        for (size_t c = size_t(part); c < chunks; c += size_t(parts))
            triangles[c] =
                ReduceRows(u, v, c * kChunkRows, std::min(N, (c + 1) * kChunkRows), m, scale);
    });
    const int cols = m + 1;
    MatrixL joined = triangles[0];
    MatrixL stack(2 * cols, cols);
    for (size_t c = 1; c < chunks; ++c) {
        stack << joined, triangles[c];
        Eigen::HouseholderQR<MatrixL> qr(stack);
        joined = qr.matrixQR().topRows(cols).triangularView<Eigen::Upper>();
    }
    return joined;
}

} // namespace

AccurateSolution SolveAccurate(std::span<const double> u, std::span<const double> v, int order) {
    AccurateSolution s;
    s.order = order;
    const int m = order + 1;
    if (order < 0 || order > kMaxOrder || u.size() != v.size() || u.size() < size_t(m))
        return s;
    LD largest = 0.0L;
    for (double x : u)
        largest = std::max(largest, LD(std::fabs(x)));
    const LD scale = PowerOfTwoAbove(largest);

    const MatrixL R = ReduceAllRows(u, v, m, scale);
    // Columns of equal weight for the pivoting: each divided by the power of two above its norm.
    MatrixL T = R.topLeftCorner(m, m);
    VectorL weight(m);
    for (int j = 0; j < m; ++j) {
        const LD norm = T.col(j).norm();
        if (!(norm > 0.0L) || !std::isfinite(norm))
            return s;
        weight(j) = PowerOfTwoAbove(norm);
        T.col(j) /= weight(j);
    }
    Eigen::ColPivHouseholderQR<MatrixL> qr(T);
    qr.setThreshold(kRankTolerance);
    if (qr.rank() < m)
        return s;
    const VectorL w = qr.solve(VectorL(R.col(m).head(m)));

    // (TᵀT)⁻¹ = P R₂⁻¹ R₂⁻ᵀ Pᵀ, from the triangle of the pivoted factorization.
    const MatrixL R2 = qr.matrixR().topLeftCorner(m, m).triangularView<Eigen::Upper>();
    const MatrixL R2inv = R2.triangularView<Eigen::Upper>().solve(MatrixL::Identity(m, m));
    const MatrixL Tinv =
        qr.colsPermutation() * (R2inv * R2inv.transpose()) * qr.colsPermutation().transpose();

    // Column j of A is u^j: it is (u/s)^j · s^j, divided for the pivoting by weight j.
    VectorL columnScale(m);
    for (int j = 0; j < m; ++j)
        columnScale(j) = weight(j) * std::pow(scale, LD(j));
    for (int j = 0; j < m; ++j) {
        s.coef[order - j] = w(j) / columnScale(j);
        for (int k = 0; k < m; ++k)
            s.inverse[order - j][order - k] = Tinv(j, k) / (columnScale(j) * columnScale(k));
    }

    MatrixL unscaled = R.topLeftCorner(m, m);
    for (int j = 0; j < m; ++j)
        unscaled.col(j) *= std::pow(scale, LD(j));
    const VectorL sv = Eigen::JacobiSVD<MatrixL>(unscaled).singularValues();
    const LD smallest = sv.minCoeff();
    s.condition = smallest > 0.0L ? sv.maxCoeff() / smallest : LDBL_MAX;
    s.scale = scale;
    s.solved = true;
    return s;
}

double DigitsKept(double value, long double reference, long double least) {
    if (!std::isfinite(value))
        return 0.0;
    if (LD(value) == reference)
        return kMaxDigits;
    LD error = std::fabs(LD(value) - reference);
    const LD magnitude = std::max(std::fabs(reference), least);
    if (magnitude > 0.0L)
        error /= magnitude;
    return std::clamp(double(-std::log10(error)), 0.0, kMaxDigits);
}

} // namespace lumetra
