#include "fit/FitState.h"

#include "platform/WorkSplit.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

namespace lumetra {
namespace {

using LD = long double;
template <class T> using Matrix = Eigen::Matrix<T, Eigen::Dynamic, Eigen::Dynamic>;

// Rows reduced by one small factorization: the block and the triangle stay in the cache.
constexpr size_t kBlockRows = 256;
// Rows of one chunk: its sums and its triangle are its own, joined in chunk order, so every
// machine splits the same way and gets the same bits.
constexpr size_t kChunkRows = size_t(1) << 16;
constexpr size_t kMinPairsPerPart = 20000;
// A column that is a combination of the others to this many parts of the largest pivot makes the
// design rank deficient: the data hold no more digits than a double.
constexpr double kRankTolerance = 64 * DBL_EPSILON;
// Rows of the design formed at once for the Gram products of the factor in double.
constexpr Eigen::Index kGramRows = 1024;
// Above this condition the factor in double would not steer the refinement well: the design is
// factored again, by Householder reflections in long double.
constexpr LD kDoubleConditionLimit = 1e6L;
// Refinement steps in long double at most; they stop once the next would change nothing.
constexpr int kMaxSteps = 6;
constexpr LD kNegligibleExcess = 1e-6L;
// Raw coefficients whose sums cancel more than this get a refinement step in binary128.
constexpr LD kQuadCancellation = 1e6L;

LD PowerOfTwoAtLeast(LD x) {
    if (!(x > 0.0L) || !std::isfinite(x))
        return 1.0L;
    int e = 0;
    const LD m = std::frexp(x, &e);
    return std::ldexp(1.0L, m == 0.5L ? e - 1 : e);
}

Quad Abs(Quad x) {
    return x < 0 ? -x : x;
}

struct Input {
    std::span<const double> t, v, w;
    double centre, half;
    int p;
    double Weight(size_t k) const { return w.empty() ? 1.0 : w[k]; }
};

// Runs body(begin, end) on each fixed chunk of N rows, over every core, and returns the chunks'
// results in chunk order.
template <class Result, class Body> std::vector<Result> EachChunk(size_t N, Body body) {
    const size_t chunks = std::max<size_t>(1, (N + kChunkRows - 1) / kChunkRows);
    std::vector<Result> results(chunks);
    RunParts(WorkParts(N, kMinPairsPerPart), [&](int part, int parts) {
        for (size_t c = size_t(part); c < chunks; c += size_t(parts))
            results[c] = body(c * kChunkRows, std::min(N, (c + 1) * kChunkRows));
    });
    return results;
}

// [A v]ᵀ[A v] in double for rows [begin, end), the design formed a block at a time for Eigen's
// product kernels. Given R₁, the design is first taken through R₁⁻¹: the second pass of
// Cholesky QR, whose factor is as good as Householder's where the design's condition is far
// below 1e8.
Eigen::MatrixXd GramRows(const Input& in, size_t begin, size_t end, const Eigen::MatrixXd* r1) {
    using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    const int p = in.p;
    const double scale = 1.0 / in.half; // exact: half is a power of two
    RowMajor block(kGramRows, p + 1);
    Eigen::MatrixXd gram = Eigen::MatrixXd::Zero(p + 1, p + 1);
    for (size_t first = begin; first < end; first += size_t(kGramRows)) {
        const Eigen::Index rows = Eigen::Index(std::min(size_t(kGramRows), end - first));
        for (Eigen::Index k = 0; k < rows; ++k) {
            const size_t i = first + size_t(k);
            const double root = in.w.empty() ? 1.0 : std::sqrt(in.w[i]);
            const double u = (in.t[i] - in.centre) * scale;
            double* row = block.row(k).data();
            double power = root;
            for (int j = 0; j < p; ++j) {
                row[j] = power;
                power *= u;
            }
            row[p] = root * in.v[i];
        }
        auto used = block.topRows(rows);
        if (r1)
            r1->triangularView<Eigen::Upper>().solveInPlace<Eigen::OnTheRight>(used.leftCols(p));
        gram.selfadjointView<Eigen::Lower>().rankUpdate(used.transpose());
    }
    return gram.selfadjointView<Eigen::Lower>();
}

// The triangle of [A v] (p + 1 columns) for rows [begin, end), block by block, each block stacked
// under the triangle so far and factored.
template <class T> Matrix<T> ReduceRows(const Input& in, size_t begin, size_t end) {
    const int cols = in.p + 1;
    Matrix<T> stack = Matrix<T>::Zero(cols + Eigen::Index(kBlockRows), cols);
    Eigen::HouseholderQR<Matrix<T>> qr(stack.rows(), cols);
    for (size_t first = begin; first < end; first += kBlockRows) {
        const size_t rows = std::min(kBlockRows, end - first);
        for (size_t k = 0; k < rows; ++k) {
            const size_t i = first + k;
            const T root = in.w.empty() ? T(1) : std::sqrt(T(in.w[i]));
            const T u = (T(in.t[i]) - T(in.centre)) / T(in.half);
            T power = root;
            for (int j = 0; j < in.p; ++j) {
                stack(cols + Eigen::Index(k), j) = power;
                power *= u;
            }
            stack(cols + Eigen::Index(k), in.p) = root * T(in.v[i]);
        }
        stack.bottomRows(Eigen::Index(kBlockRows - rows)).setZero();
        qr.compute(stack);
        stack.topRows(cols) = qr.matrixQR().topRows(cols).template triangularView<Eigen::Upper>();
        stack.bottomRows(Eigen::Index(kBlockRows)).setZero();
    }
    return stack.topRows(cols);
}

template <class T> Matrix<T> ReduceAllRows(const Input& in) {
    const std::vector<Matrix<T>> triangles = EachChunk<Matrix<T>>(
        in.t.size(), [&](size_t begin, size_t end) { return ReduceRows<T>(in, begin, end); });
    const int cols = in.p + 1;
    Matrix<T> joined = triangles[0];
    Matrix<T> stack(2 * cols, cols);
    for (size_t c = 1; c < triangles.size(); ++c) {
        stack << joined, triangles[c];
        Eigen::HouseholderQR<Matrix<T>> qr(stack);
        joined = qr.matrixQR().topRows(cols).template triangularView<Eigen::Upper>();
    }
    return joined;
}

// The rank of the triangle, its columns first brought to equal weight.
template <class T> int TriangleRank(const Matrix<T>& R) {
    Matrix<T> scaled = R;
    for (Eigen::Index j = 0; j < scaled.cols(); ++j) {
        const T norm = scaled.col(j).norm();
        if (!(norm > T(0)))
            return 0;
        scaled.col(j) /= T(PowerOfTwoAtLeast(LD(norm)));
    }
    Eigen::ColPivHouseholderQR<Matrix<T>> qr(scaled);
    qr.setThreshold(T(kRankTolerance));
    return int(qr.rank());
}

// Solves Rᵀy = g (forward) in place.
template <class T> void SolveTransposed(const FitState& s, T* g) {
    for (int i = 0; i < s.Coefs(); ++i) {
        T sum = g[i];
        for (int k = 0; k < i; ++k)
            sum -= T(s.r[k][i]) * g[k];
        g[i] = sum / T(s.r[i][i]);
    }
}

// Solves Ry = g (backward) in place.
template <class T> void SolveUpper(const FitState& s, T* g) {
    for (int i = s.Coefs() - 1; i >= 0; --i) {
        T sum = g[i];
        for (int k = i + 1; k < s.Coefs(); ++k)
            sum -= T(s.r[i][k]) * g[k];
        g[i] = sum / T(s.r[i][i]);
    }
}

// Σ w·g(u)·(v − fitted), Σ w·(v − fitted)² and Σ w·(v − mean)² over rows, in T; and after a
// step, ‖Rd‖² of its correction d, by which the squared residuals of the new solution fall short
// of those summed here.
template <class T> struct Residuals {
    T atr[kMaxCoefs] = {};
    T sse = 0;
    T sst = 0;
    T excess = 0;
};

template <class T> struct RowSums {
    const Input& in;
    const T* b;
    T mean;
    Residuals<T>& out;

    // Two rows at a time, so that the two chains of multiplications overlap.
    void Add(size_t i0, size_t i1) {
        // half is a power of two: multiplying by its inverse is the exact division.
        const T centre = T(in.centre), scale = T(1) / T(in.half);
        const int n = in.p - 1;
        const T u0 = (T(in.t[i0]) - centre) * scale, u1 = (T(in.t[i1]) - centre) * scale;
        T f0 = b[n], f1 = b[n];
        for (int j = n - 1; j >= 0; --j) {
            f0 = f0 * u0 + b[j];
            f1 = f1 * u1 + b[j];
        }
        const T r0 = T(in.v[i0]) - f0, r1 = T(in.v[i1]) - f1;
        const T wr0 = T(in.Weight(i0)) * r0, wr1 = T(in.Weight(i1)) * r1;
        out.sse += wr0 * r0;
        out.sse += wr1 * r1;
        const T d0 = T(in.v[i0]) - mean, d1 = T(in.v[i1]) - mean;
        out.sst += T(in.Weight(i0)) * d0 * d0;
        out.sst += T(in.Weight(i1)) * d1 * d1;
        T p0 = wr0, p1 = wr1;
        for (int j = 0; j < in.p; ++j) {
            out.atr[j] += p0;
            out.atr[j] += p1;
            p0 *= u0;
            p1 *= u1;
        }
    }
};

template <class T>
Residuals<T> ResidualRows(const Input& in, const T* b, T mean, size_t begin, size_t end) {
    Residuals<T> out;
    RowSums<T> rows{in, b, mean, out};
    size_t i = begin;
    for (; i + 1 < end; i += 2)
        rows.Add(i, i + 1);
    if (i < end) {
        // The last row of an odd count, paired with a row of weight 0 in effect.
        Residuals<T> single;
        RowSums<T>{in, b, mean, single}.Add(i, i);
        for (int j = 0; j < in.p; ++j)
            out.atr[j] += single.atr[j] / 2;
        out.sse += single.sse / 2;
        out.sst += single.sst / 2;
    }
    return out;
}

// One refinement step in T: the residuals of b, and b moved by d = (RᵀR)⁻¹Aᵀr. Returns the sums.
template <class T> Residuals<T> RefineStep(const Input& in, FitState& s, T* b, T mean) {
    const std::vector<Residuals<T>> chunks =
        EachChunk<Residuals<T>>(in.t.size(), [&](size_t begin, size_t end) {
            return ResidualRows(in, b, mean, begin, end);
        });
    Residuals<T> total;
    for (const Residuals<T>& c : chunks) {
        for (int j = 0; j < in.p; ++j)
            total.atr[j] += c.atr[j];
        total.sse += c.sse;
        total.sst += c.sst;
    }
    T d[kMaxCoefs];
    std::copy(total.atr, total.atr + in.p, d);
    SolveTransposed(s, d);
    // d now holds R⁻ᵀAᵀr = R·(the correction): its squares are the excess.
    for (int j = 0; j < in.p; ++j)
        total.excess += d[j] * d[j];
    SolveUpper(s, d);
    for (int j = 0; j < in.p; ++j)
        b[j] += d[j];
    for (int j = 0; j < in.p; ++j)
        total.atr[j] = d[j]; // the correction, for the caller's test
    return total;
}

template <class T> T LargestOf(const T* x, int n) {
    T largest = 0;
    for (int j = 0; j < n; ++j)
        largest = std::max(largest, x[j] < 0 ? -x[j] : x[j]);
    return largest;
}

// The map's entry of t^k in u^j: C(j, k)·(−centre)^(j−k) / half^j, for j >= k.
template <class T> T MapEntry(const FitState& s, int k, int j) {
    T binomial = 1;
    for (int i = 1; i <= j - k; ++i)
        binomial = binomial * T(k + i) / T(i);
    T power = 1;
    for (int i = 0; i < j - k; ++i)
        power *= -T(s.centre);
    for (int i = 0; i < j; ++i)
        power /= T(s.half);
    return binomial * power;
}

// The 2-norm condition number of a triangle.
LD Condition(const Matrix<LD>& R) {
    const Eigen::JacobiSVD<Matrix<LD>> svd(R);
    const LD smallest = svd.singularValues().minCoeff();
    return smallest > 0.0L ? svd.singularValues().maxCoeff() / smallest : LDBL_MAX;
}

// The factor R of the design and z = Qᵀv by Cholesky QR twice in double: two passes of Gram
// products over fixed chunks, summed in chunk order. False where a Cholesky step fails: the
// design has no full rank, or nearly none.
bool FactorInDouble(const Input& in, Matrix<LD>& R, LD* z, LD& condition) {
    const int p = in.p;
    auto gram = [&](const Eigen::MatrixXd* r1) {
        const std::vector<Eigen::MatrixXd> chunks = EachChunk<Eigen::MatrixXd>(
            in.t.size(), [&](size_t begin, size_t end) { return GramRows(in, begin, end, r1); });
        Eigen::MatrixXd sum = chunks[0];
        for (size_t c = 1; c < chunks.size(); ++c)
            sum += chunks[c];
        return sum;
    };
    const Eigen::MatrixXd g1 = gram(nullptr);
    const Eigen::LLT<Eigen::MatrixXd> first(g1.topLeftCorner(p, p));
    if (first.info() != Eigen::Success)
        return false;
    const Eigen::MatrixXd r1 = first.matrixU();
    const Eigen::MatrixXd g2 = gram(&r1);
    const Eigen::LLT<Eigen::MatrixXd> second(g2.topLeftCorner(p, p));
    if (second.info() != Eigen::Success)
        return false;
    const Eigen::MatrixXd r2 = second.matrixU();
    // Qᵀv = R₂⁻ᵀ·(Q₁ᵀv), Q₁ = A·R₁⁻¹.
    const Eigen::VectorXd qv =
        r2.transpose().triangularView<Eigen::Lower>().solve(g2.col(p).head(p));
    R = (r2 * r1).cast<LD>().triangularView<Eigen::Upper>();
    for (int j = 0; j < p; ++j)
        z[j] = qv(j);
    condition = Condition(R);
    return std::isfinite(condition);
}

} // namespace

long double FitState::U(double t) const {
    return (LD(t) - LD(centre)) / LD(half);
}

long double FitState::Value(long double u) const {
    LD v = LD(b[degree]);
    for (int j = degree - 1; j >= 0; --j)
        v = v * u + LD(b[j]);
    return v;
}

long double FitState::Slope(long double u) const {
    LD d = 0.0L;
    for (int j = degree; j >= 1; --j)
        d = d * u + LD(b[j]) * LD(j);
    return d;
}

long double FitState::Leverage(long double u) const {
    LD g[kMaxCoefs];
    LD power = 1.0L;
    for (int j = 0; j <= degree; ++j, power *= u)
        g[j] = power;
    SolveTransposed(*this, g);
    LD sum = 0.0L;
    for (int j = 0; j <= degree; ++j)
        sum += g[j] * g[j];
    return sum;
}

void FitState::RawCoefficients(Quad a[kMaxCoefs]) const {
    for (int k = 0; k <= degree; ++k) {
        a[k] = 0;
        for (int j = k; j <= degree; ++j)
            a[k] += MapEntry<Quad>(*this, k, j) * b[j];
    }
}

long double FitState::RawVariance(int k) const {
    LD m[kMaxCoefs] = {};
    for (int j = k; j <= degree; ++j)
        m[j] = MapEntry<LD>(*this, k, j);
    SolveTransposed(*this, m);
    LD sum = 0.0L;
    for (int j = 0; j <= degree; ++j)
        sum += m[j] * m[j];
    return sum;
}

void FitState::CentredFromRaw(const Quad raw[kMaxCoefs], Quad out[kMaxCoefs]) const {
    // t = centre + half·u: the coefficient of u^j gathers C(k, j)·centre^(k−j)·half^j·raw[k].
    for (int j = 0; j <= degree; ++j) {
        out[j] = 0;
        for (int k = j; k <= degree; ++k) {
            Quad term = raw[k];
            for (int i = 1; i <= k - j; ++i)
                term = term * Quad(j + i) / Quad(i) * Quad(centre);
            for (int i = 0; i < j; ++i)
                term *= Quad(half);
            out[j] += term;
        }
    }
}

long double FitState::ExtraSse(const Quad d[kMaxCoefs]) const {
    LD sum = 0.0L;
    for (int i = 0; i <= degree; ++i) {
        Quad row = 0;
        for (int k = i; k <= degree; ++k)
            row += Quad(r[i][k]) * d[k];
        sum += LD(row) * LD(row);
    }
    return sum;
}

long double FitState::CoefficientCancellation() const {
    LD worst = 1.0L;
    for (int k = 0; k <= degree; ++k) {
        Quad sum = 0, largest = 0;
        for (int j = k; j <= degree; ++j) {
            const Quad term = MapEntry<Quad>(*this, k, j) * b[j];
            sum += term;
            largest = std::max(largest, Abs(term));
        }
        if (sum != 0)
            worst = std::max(worst, LD(largest / Abs(sum)));
    }
    return worst;
}

long double FitState::CurveCancellation() const {
    Quad a[kMaxCoefs];
    RawCoefficients(a);
    const LD reach = std::max(std::fabs(LD(low)), std::fabs(LD(high)));
    LD largest = 0.0L, power = 1.0L;
    for (int k = 0; k <= degree; ++k, power *= reach)
        largest = std::max(largest, std::fabs(LD(a[k])) * power);
    const LD curve = std::max(std::fabs(Value(U(low))), std::fabs(Value(U(high))));
    if (largest == 0.0L)
        return 1.0L;
    return curve > 0.0L ? std::max(1.0L, largest / curve) : LDBL_MAX;
}

int DistinctValues(std::span<const double> t, int cap) {
    std::vector<double> seen;
    for (double x : t) {
        if (std::find(seen.begin(), seen.end(), x) == seen.end()) {
            seen.push_back(x);
            if (int(seen.size()) >= cap)
                break;
        }
    }
    return int(seen.size());
}

FitState BuildFitState(std::span<const double> t, std::span<const double> v,
                       std::span<const double> w, int degree) {
    FitState s;
    s.degree = std::clamp(degree, 0, kMaxOrder);
    const size_t N = std::min(t.size(), v.size());
    s.pairs = N;
    const int p = s.degree + 1;
    if (N == 0 || (!w.empty() && w.size() < N))
        return s;
    t = t.first(N);
    v = v.first(N);
    LD weightSum = 0.0L, weighted = 0.0L;
    s.low = s.high = t[0];
    s.constant = true;
    for (size_t k = 0; k < N; ++k) {
        const double wk = w.empty() ? 1.0 : w[k];
        if (!std::isfinite(t[k]) || !std::isfinite(v[k]) || !std::isfinite(wk) || wk < 0.0) {
            s.finite = false;
            return s;
        }
        s.low = std::min(s.low, t[k]);
        s.high = std::max(s.high, t[k]);
        s.constant = s.constant && v[k] == v[0];
        weightSum += LD(wk);
        weighted += LD(wk) * LD(v[k]);
    }
    s.weightSum = weightSum;
    s.mean = weightSum > 0.0L ? weighted / weightSum : 0.0L;
    const LD halfRange = (LD(s.high) - LD(s.low)) / 2;
    s.half = double(PowerOfTwoAtLeast(halfRange));
    const double quantum = std::ldexp(s.half, -10);
    s.centre = std::nearbyint((s.low / 2 + s.high / 2) / quantum) * quantum;
    const Input in{t, v, w, s.centre, s.half, p};

    Matrix<LD> R;
    LD z[kMaxCoefs];
    LD roundoff = DBL_EPSILON; // of the factor, for when to stop refining
    if (!FactorInDouble(in, R, z, s.condition) || s.condition > kDoubleConditionLimit) {
        // Rank deficient, or too ill conditioned for a factor in double to steer the refinement:
        // Householder reflections in long double, which also tell the rank.
        const Matrix<LD> wide = ReduceAllRows<LD>(in);
        R = wide.topLeftCorner(p, p);
        for (int j = 0; j < p; ++j)
            z[j] = wide(j, p);
        s.rank = TriangleRank(R);
        if (s.rank < p)
            return s;
        s.condition = Condition(R);
        roundoff = LDBL_EPSILON;
    }
    s.rank = p;
    for (int i = 0; i < p; ++i)
        for (int j = 0; j < p; ++j)
            s.r[i][j] = j >= i ? R(i, j) : 0.0L;

    if (s.constant) {
        // Equal values are fitted exactly by the constant; rounding would only add noise.
        s.b[0] = v[0];
        return s;
    }
    LD b[kMaxCoefs];
    std::copy(z, z + p, b);
    SolveUpper(s, b);
    // Each step shrinks the error by about condition² × the factor's roundoff; the squared
    // residuals of the new solution are those summed less the step's excess.
    const LD shrink = s.condition * s.condition * roundoff;
    for (int step = 0; step < kMaxSteps; ++step) {
        const Residuals<LD> sums = RefineStep(in, s, b, s.mean);
        s.sse = std::max(0.0L, sums.sse - sums.excess);
        s.sst = sums.sst;
        // Done when the next step would move b by nothing and this one moved the residuals by a
        // negligible part (a perfect fit measures them again, to find them zero).
        if (LargestOf(sums.atr, p) * shrink <= LDBL_EPSILON * LargestOf(b, p) &&
            sums.excess <= kNegligibleExcess * sums.sse)
            break;
    }
    for (int j = 0; j < p; ++j)
        s.b[j] = b[j];
    if (s.CoefficientCancellation() > kQuadCancellation) {
        const Residuals<Quad> sums = RefineStep<Quad>(in, s, s.b, Quad(s.mean));
        s.sse = LD(std::max(Quad(0), sums.sse - sums.excess));
    }
    return s;
}

} // namespace lumetra
