#include "fit/Prediction.h"
#include "fit/Calibration.h"
#include "fit/FitEngine.h"
#include "stats/PredictionTable.h"
#include "support/DocTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace lumetra {
namespace {

// Two-sided 97.5 % and 95 % points of Student's t, from the tables.
constexpr double kT975Dof4 = 2.776445105197793;
constexpr double kT975Dof6 = 2.446911851144969;
constexpr double kT95Dof6 = 1.943180280515303;
constexpr double kT975Dof8 = 2.306004135204166;

// The least-squares line v = a + b·u with its textbook uncertainties.
struct Line {
    double n = 0, ubar = 0, vbar = 0, suu = 0, a = 0, b = 0, s = 0;

    Line(const std::vector<double>& u, const std::vector<double>& v) {
        n = double(u.size());
        for (size_t k = 0; k < u.size(); ++k) {
            ubar += u[k] / n;
            vbar += v[k] / n;
        }
        double suv = 0, sse = 0;
        for (size_t k = 0; k < u.size(); ++k) {
            suu += (u[k] - ubar) * (u[k] - ubar);
            suv += (u[k] - ubar) * (v[k] - vbar);
        }
        b = suv / suu;
        a = vbar - b * ubar;
        for (size_t k = 0; k < u.size(); ++k)
            sse += (v[k] - a - b * u[k]) * (v[k] - a - b * u[k]);
        s = std::sqrt(sse / (n - 2));
    }
    double SeMean(double u) const { return s * std::sqrt(1 / n + (u - ubar) * (u - ubar) / suu); }
    double SePredicted(double u) const {
        return s * std::sqrt(1 + 1 / n + (u - ubar) * (u - ubar) / suu);
    }
    double Estimate(double v0) const { return (v0 - a) / b; }
    // Wald: the estimate ± t·s·√(k + 1/n + (û − ū)²/Suu) / |b|, k = 1 for a new observation.
    double WaldHalf(double v0, double t, double k) const {
        const double d = Estimate(v0) - ubar;
        return t * s * std::sqrt(k + 1 / n + d * d / suu) / std::fabs(b);
    }
    // Fieller: the u with (v0 − a − b·u)² = t²s²(k + 1/n + (u − ū)²/Suu), a quadratic in u − ū.
    std::pair<double, double> Fieller(double v0, double t, double k) const {
        const double T2 = t * t * s * s, e = v0 - vbar;
        const double qa = b * b - T2 / suu, qb = -2 * b * e, qc = e * e - T2 * (k + 1 / n);
        const double root = std::sqrt(qb * qb - 4 * qa * qc);
        const double d1 = (-qb - root) / (2 * qa), d2 = (-qb + root) / (2 * qa);
        return {ubar + std::min(d1, d2), ubar + std::max(d1, d2)};
    }
};

std::vector<double> Logs(const std::vector<double>& values, double base) {
    std::vector<double> out;
    for (double value : values)
        out.push_back(std::log(value) / std::log(base));
    return out;
}

struct PredictionFixture : test::DocTest {
    CFitEngine engine{doc};

    FittedCurve Fit(const std::vector<double>& x, const std::vector<double>& y, int type, int order,
                    FitMethod method = FitMethod::Accurate) {
        doc.OnNewDocument();
        doc.m_pPairs.clear();
        for (size_t k = 0; k < x.size(); ++k)
            doc.m_pPairs.push_back({x[k], y[k]});
        doc.m_nPairs = int(doc.m_pPairs.size());
        doc.m_nCurveType = type;
        doc.m_nOrder = order;
        doc.m_eFitMethod = method;
        EXPECT_EQ(engine.RefitDocument(), 1);
        const CurveOutcome outcome = DocumentCurve(doc);
        EXPECT_TRUE(outcome.curve) << outcome.failure;
        return outcome.curve.value_or(FittedCurve{});
    }
};

const std::vector<double> kLineX = {1, 2, 3, 4, 5, 6, 7, 8};
const std::vector<double> kLineY = {2.6, 2.9, 3.6, 4.1, 4.4, 5.1, 5.4, 6.1};

TEST_F(PredictionFixture, AStraightLinePredictsWithItsClosedForms) {
    const Line line(kLineX, kLineY);
    for (FitMethod method : {FitMethod::Classic, FitMethod::Accurate}) {
        const FittedCurve curve = Fit(kLineX, kLineY, 0, 1, method);
        EXPECT_EQ(curve.dof, 6);
        for (double x : {0.0, 1.0, 4.5, 6.25, 12.0}) {
            const Prediction p = Predict(curve, x, kDefaultLevel);
            const double y = line.a + line.b * x;
            EXPECT_EQ(p.input, x);
            EXPECT_NEAR(*p.output, y, 1e-12);
            EXPECT_NEAR(*p.seMean, line.SeMean(x), 1e-12);
            EXPECT_NEAR(*p.meanLow, y - kT975Dof6 * line.SeMean(x), 1e-11);
            EXPECT_NEAR(*p.meanHigh, y + kT975Dof6 * line.SeMean(x), 1e-11);
            EXPECT_NEAR(*p.predLow, y - kT975Dof6 * line.SePredicted(x), 1e-11);
            EXPECT_NEAR(*p.predHigh, y + kT975Dof6 * line.SePredicted(x), 1e-11);
            EXPECT_EQ(p.message, "");
        }
    }
    const Prediction p90 = Predict(Fit(kLineX, kLineY, 0, 1), 3.0, 0.90);
    EXPECT_NEAR(*p90.predHigh - *p90.output, kT95Dof6 * line.SePredicted(3.0), 1e-11);
}

TEST_F(PredictionFixture, AStraightLineCalibratesWithWaldAndFiellerIntervals) {
    const Line line(kLineX, kLineY);
    const FittedCurve curve = Fit(kLineX, kLineY, 0, 1);
    for (bool mean : {false, true}) {
        const double k = mean ? 0.0 : 1.0;
        for (double y0 : {3.3, 4.0, 5.2}) {
            const double x0 = line.Estimate(y0);
            const Calibration wald =
                Calibrate(curve, y0, {kDefaultLevel, mean, CalibrationInterval::Wald});
            ASSERT_EQ(wald.estimates.size(), 1u);
            EXPECT_EQ(wald.observed, y0);
            EXPECT_NEAR(wald.estimates[0].input, x0, 1e-12);
            EXPECT_NEAR(*wald.estimates[0].lower, x0 - line.WaldHalf(y0, kT975Dof6, k), 1e-11);
            EXPECT_NEAR(*wald.estimates[0].upper, x0 + line.WaldHalf(y0, kT975Dof6, k), 1e-11);
            EXPECT_EQ(wald.message, "");

            const Calibration inversion = Calibrate(curve, y0, {kDefaultLevel, mean});
            ASSERT_EQ(inversion.estimates.size(), 1u);
            const auto [lo, hi] = line.Fieller(y0, kT975Dof6, k);
            EXPECT_NEAR(inversion.estimates[0].input, x0, 1e-12);
            EXPECT_NEAR(*inversion.estimates[0].lower, lo, 1e-10);
            EXPECT_NEAR(*inversion.estimates[0].upper, hi, 1e-10);
            // Fieller's interval is not symmetric about the estimate unless it lies at the mean.
            EXPECT_EQ(inversion.message, "");
        }
    }
    // A new observation scatters more than a mean response.
    const Calibration single = Calibrate(curve, 4.0, {});
    const Calibration mean = Calibrate(curve, 4.0, {kDefaultLevel, true});
    EXPECT_LT(*single.estimates[0].lower, *mean.estimates[0].lower);
    EXPECT_GT(*single.estimates[0].upper, *mean.estimates[0].upper);
}

TEST_F(PredictionFixture, ABoundBeyondTheRangeIsMissingAndSaidSo) {
    const Line line(kLineX, kLineY);
    const FittedCurve curve = Fit(kLineX, kLineY, 0, 1);
    const double y0 = line.a + line.b * 1.2; // the lower bound lies left of X = 1
    const Calibration c = Calibrate(curve, y0, {});
    ASSERT_EQ(c.estimates.size(), 1u);
    EXPECT_FALSE(c.estimates[0].lower);
    EXPECT_NEAR(*c.estimates[0].upper, line.Fieller(y0, kT975Dof6, 1).second, 1e-10);
    EXPECT_EQ(c.message, "The 95 % interval is not bounded inside the data's X range, 1 to 8: "
                         "the curve is too flat there for that level.");
    // A level near 1 widens the interval past both ends.
    const Calibration wide = Calibrate(curve, 4.0, {0.999999});
    EXPECT_FALSE(wide.estimates[0].lower);
    EXPECT_FALSE(wide.estimates[0].upper);
    EXPECT_EQ(wide.message, "The 99.9999 % interval is not bounded inside the data's X range, 1 "
                            "to 8: the curve is too flat there for that level.");
    // Wald's interval is bounded whatever the range.
    const Calibration wald =
        Calibrate(curve, y0, {kDefaultLevel, false, CalibrationInterval::Wald});
    EXPECT_LT(*wald.estimates[0].lower, 1.0);
    EXPECT_EQ(wald.message, "");
}

TEST_F(PredictionFixture, NoXInTheRangeGivesThatY) {
    const FittedCurve curve = Fit(kLineX, kLineY, 0, 1);
    for (double y0 : {1.0, 100.0}) {
        const Calibration c = Calibrate(curve, y0, {});
        EXPECT_TRUE(c.estimates.empty());
        EXPECT_EQ(c.message, FormatC("No X from 1 to 8 gives Y = %g on the fitted curve.", {y0}));
    }
}

// The inverse of the 3×3 Gram matrix of [x² x 1], by cofactors.
struct Quadratic {
    double m[3][3] = {};
    explicit Quadratic(const std::vector<double>& x) {
        double g[3][3] = {};
        for (double v : x) {
            const double row[3] = {v * v, v, 1};
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    g[i][j] += row[i] * row[j];
        }
        auto cof = [&](int i, int j) {
            const int r0 = (i + 1) % 3, r1 = (i + 2) % 3, c0 = (j + 1) % 3, c1 = (j + 2) % 3;
            return g[r0][c0] * g[r1][c1] - g[r0][c1] * g[r1][c0];
        };
        const double det = g[0][0] * cof(0, 0) + g[0][1] * cof(0, 1) + g[0][2] * cof(0, 2);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                m[i][j] = cof(j, i) / det;
    }
    double Leverage(double x) const {
        const double g[3] = {x * x, x, 1};
        double sum = 0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                sum += g[i] * m[i][j] * g[j];
        return sum;
    }
};

TEST_F(PredictionFixture, AQuadraticGivesBothRootsWithTheirIntervals) {
    std::vector<double> x, y;
    const double noise[] = {0.2, -0.1, 0.15, -0.2, 0.05, 0.1, -0.15, 0.2, -0.05, 0.1, -0.2};
    for (int k = 0; k <= 10; ++k) {
        x.push_back(k);
        y.push_back((k - 5.0) * (k - 5.0) + noise[k]);
    }
    const FittedCurve curve = Fit(x, y, 0, 2);
    const double c1 = doc.m_dCoef[0], c2 = doc.m_dCoef[1], c3 = doc.m_dCoef[2];
    auto q = [&](double v) { return (c1 * v + c2) * v + c3; };
    double sse = 0;
    for (int k = 0; k <= 10; ++k)
        sse += (y[k] - q(x[k])) * (y[k] - q(x[k]));
    const double s = std::sqrt(sse / 8);
    const Quadratic gram(x);
    EXPECT_NEAR(curve.s, s, 1e-13);

    const Prediction p = Predict(curve, 7.5, kDefaultLevel);
    EXPECT_NEAR(*p.seMean, s * std::sqrt(gram.Leverage(7.5)), 1e-12);
    EXPECT_NEAR(*p.predHigh, q(7.5) + kT975Dof8 * s * std::sqrt(1 + gram.Leverage(7.5)), 1e-11);

    const double y0 = 9.0;
    const double disc = std::sqrt(c2 * c2 - 4 * c1 * (c3 - y0));
    const double roots[2] = {(-c2 - disc) / (2 * c1), (-c2 + disc) / (2 * c1)};
    for (bool mean : {false, true}) {
        const double k = mean ? 0.0 : 1.0;
        const Calibration wald =
            Calibrate(curve, y0, {kDefaultLevel, mean, CalibrationInterval::Wald});
        const Calibration inversion = Calibrate(curve, y0, {kDefaultLevel, mean});
        ASSERT_EQ(wald.estimates.size(), 2u);
        ASSERT_EQ(inversion.estimates.size(), 2u);
        for (int r = 0; r < 2; ++r) {
            const double x0 = roots[r];
            EXPECT_NEAR(wald.estimates[r].input, x0, 1e-12);
            const double half =
                kT975Dof8 * s * std::sqrt(k + gram.Leverage(x0)) / std::fabs(2 * c1 * x0 + c2);
            EXPECT_NEAR(*wald.estimates[r].lower, x0 - half, 1e-10);
            EXPECT_NEAR(*wald.estimates[r].upper, x0 + half, 1e-10);
            // Each inversion bound is where the band of the curve meets the observation.
            const CalibrationEstimate& e = inversion.estimates[r];
            EXPECT_NEAR(e.input, x0, 1e-12);
            for (double bound : {*e.lower, *e.upper}) {
                const double band = kT975Dof8 * s * std::sqrt(k + gram.Leverage(bound));
                EXPECT_NEAR(std::fabs(q(bound) - y0), band, 1e-9) << bound;
            }
            EXPECT_LT(*e.lower, x0);
            EXPECT_GT(*e.upper, x0);
            EXPECT_LT(*e.upper - *e.lower, 1.0);
        }
    }
}

TEST_F(PredictionFixture, ALogLogFitWorksInItsLogarithms) {
    const std::vector<double> x = {1, 2, 4, 8, 16, 32};
    const std::vector<double> y = {3.1, 4.7, 8.0, 12.6, 21.5, 34.0};
    const FittedCurve curve = Fit(x, y, 1, 1);
    const double xint = 0.0, yint = std::log10(3.1);
    std::vector<double> h = Logs(x, 10), g = Logs(y, 10);
    for (double& v : g)
        v -= yint;
    const Line line(h, g);

    const double x1 = 10.0, h1 = std::log10(x1) - xint;
    const Prediction p = Predict(curve, x1, kDefaultLevel);
    const double g1 = line.a + line.b * h1, y1 = std::pow(10.0, g1 + yint);
    EXPECT_NEAR(*p.output, y1, 1e-11);
    EXPECT_NEAR(*p.seMean, y1 * std::numbers::ln10 * line.SeMean(h1), 1e-11);
    EXPECT_NEAR(*p.meanLow, std::pow(10.0, g1 - kT975Dof4 * line.SeMean(h1) + yint), 1e-11);
    EXPECT_NEAR(*p.meanHigh, std::pow(10.0, g1 + kT975Dof4 * line.SeMean(h1) + yint), 1e-11);
    EXPECT_NEAR(*p.predLow, std::pow(10.0, g1 - kT975Dof4 * line.SePredicted(h1) + yint), 1e-11);
    EXPECT_NEAR(*p.predHigh, std::pow(10.0, g1 + kT975Dof4 * line.SePredicted(h1) + yint), 1e-10);

    const double y0 = 15.0, g0 = std::log10(y0) - yint, h0 = line.Estimate(g0);
    const Calibration wald =
        Calibrate(curve, y0, {kDefaultLevel, false, CalibrationInterval::Wald});
    ASSERT_EQ(wald.estimates.size(), 1u);
    EXPECT_NEAR(wald.estimates[0].input, std::pow(10.0, h0 + xint), 1e-11);
    const double half = line.WaldHalf(g0, kT975Dof4, 1);
    EXPECT_NEAR(*wald.estimates[0].lower, std::pow(10.0, h0 - half + xint), 1e-10);
    EXPECT_NEAR(*wald.estimates[0].upper, std::pow(10.0, h0 + half + xint), 1e-10);
    const Calibration inversion = Calibrate(curve, y0, {kDefaultLevel, true});
    const auto [lo, hi] = line.Fieller(g0, kT975Dof4, 0);
    EXPECT_NEAR(*inversion.estimates[0].lower, std::pow(10.0, lo + xint), 1e-9);
    EXPECT_NEAR(*inversion.estimates[0].upper, std::pow(10.0, hi + xint), 1e-9);

    const Prediction none = Predict(curve, 0.0, kDefaultLevel);
    EXPECT_FALSE(none.output);
    EXPECT_EQ(none.message, "The log-log curve has no value at X = 0: X must be above 0.");
    const Calibration negative = Calibrate(curve, -2.0, {});
    EXPECT_TRUE(negative.estimates.empty());
    EXPECT_EQ(negative.message, "Y = -2 is not above 0: the curve takes only values above 0.");
}

TEST_F(PredictionFixture, SemilogFitsWorkOnTheLogarithmOfTheMeasuredValue) {
    const std::vector<double> u = {0, 1, 2, 3, 4, 5};
    const std::vector<double> w = {2.1, 2.6, 3.8, 4.9, 6.5, 9.1};
    const Line line(u, Logs(w, std::numbers::e));
    for (int type : {2, 3}) {
        // X=Ae^BY computes X from Y: the same numbers with the axes exchanged.
        const FittedCurve curve = type == 2 ? Fit(u, w, 2, 1) : Fit(w, u, 3, 1);
        const char* in = type == 2 ? "X" : "Y";
        const double u1 = 2.5;
        const Prediction p = Predict(curve, u1, kDefaultLevel);
        const double v1 = line.a + line.b * u1;
        EXPECT_NEAR(*p.output, std::exp(v1), 1e-12);
        EXPECT_NEAR(*p.seMean, std::exp(v1) * line.SeMean(u1), 1e-12);
        EXPECT_NEAR(*p.meanLow, std::exp(v1 - kT975Dof4 * line.SeMean(u1)), 1e-11);
        EXPECT_NEAR(*p.predHigh, std::exp(v1 + kT975Dof4 * line.SePredicted(u1)), 1e-11);

        const double w0 = 5.5, v0 = std::log(w0);
        const Calibration c = Calibrate(curve, w0, {});
        ASSERT_EQ(c.estimates.size(), 1u);
        const auto [lo, hi] = line.Fieller(v0, kT975Dof4, 1);
        EXPECT_NEAR(c.estimates[0].input, line.Estimate(v0), 1e-12);
        EXPECT_NEAR(*c.estimates[0].lower, lo, 1e-10);
        EXPECT_NEAR(*c.estimates[0].upper, hi, 1e-10);
        const Calibration far = Calibrate(curve, 50.0, {});
        EXPECT_EQ(far.message, FormatC("No %s from 0 to 5 gives %s = 50 on the fitted curve.",
                                       {in, type == 2 ? "Y" : "X"}));
    }
}

TEST_F(PredictionFixture, AFitWithoutDegreesOfFreedomGivesValuesButNoIntervals) {
    const FittedCurve curve = Fit({1, 3}, {2, 6}, 0, 1);
    const char* text =
        "No degrees of freedom are left (2 pairs, 2 coefficients): the fit gives no intervals.";
    const Prediction p = Predict(curve, 2.0, kDefaultLevel);
    EXPECT_NEAR(*p.output, 4.0, 1e-14);
    EXPECT_FALSE(p.seMean);
    EXPECT_FALSE(p.predLow);
    EXPECT_EQ(p.message, text);
    const Calibration c = Calibrate(curve, 5.0, {});
    ASSERT_EQ(c.estimates.size(), 1u);
    EXPECT_NEAR(c.estimates[0].input, 2.5, 1e-14);
    EXPECT_FALSE(c.estimates[0].lower);
    EXPECT_EQ(c.message, text);
}

TEST_F(PredictionFixture, AFailedFitHasNoCurve) {
    doc.OnNewDocument();
    doc.m_pPairs = {{1, 2}};
    doc.m_nPairs = 1;
    doc.m_nCurveType = 0;
    doc.m_nOrder = 1;
    EXPECT_EQ(engine.RefitDocument(), 0);
    const CurveOutcome outcome = DocumentCurve(doc);
    EXPECT_FALSE(outcome.curve);
    EXPECT_EQ(outcome.failure, "The fit failed: there is no curve to read values from.");
}

// y = x² meets 0 only at its vertex, where it turns without crossing; Wald's interval needs a
// slope there.
TEST_F(PredictionFixture, ATangentRootIsFoundAndItsWaldIntervalIsRefused) {
    const std::vector<double> x = {-2, -1, 0, 1, 2};
    const std::vector<double> y = {4.1, 0.9, 0.1, 1.1, 3.9};
    FittedCurve curve = Fit(x, y, 0, 2);
    // Exactly y = x²: u = x / 2 about 0, so 4u².
    auto exact = std::make_shared<FitState>(*curve.state);
    ASSERT_EQ(exact->centre, 0.0);
    ASSERT_EQ(exact->half, 2.0);
    exact->b[0] = exact->b[1] = 0;
    exact->b[2] = 4;
    curve.state = exact;
    const Calibration c = Calibrate(curve, 0.0, {kDefaultLevel, false, CalibrationInterval::Wald});
    ASSERT_EQ(c.estimates.size(), 1u);
    EXPECT_EQ(c.estimates[0].input, 0.0);
    EXPECT_FALSE(c.estimates[0].lower);
    EXPECT_FALSE(c.estimates[0].upper);
    EXPECT_EQ(c.message,
              "The curve is flat where it takes Y = 0: the Wald interval has no bounds.");
    // The inversion interval needs no slope.
    const Calibration inversion = Calibrate(curve, 0.0, {kDefaultLevel, true});
    EXPECT_LT(*inversion.estimates[0].lower, 0.0);
    EXPECT_GT(*inversion.estimates[0].upper, 0.0);
}

// A polynomial of order 5 with all its roots in the range, found by the companion matrix and
// the grid alike.
TEST_F(PredictionFixture, EveryRootOfAHighOrderCurveIsFound) {
    std::vector<double> x, y;
    for (int k = 0; k <= 40; ++k) {
        const double v = -1.0 + 0.05 * k;
        x.push_back(v);
        y.push_back(v * (v * v - 0.25) * (v * v - 0.81));
    }
    const FittedCurve curve = Fit(x, y, 0, 5);
    const Calibration c = Calibrate(curve, 0.0, {kDefaultLevel, true});
    ASSERT_EQ(c.estimates.size(), 5u);
    const double expected[] = {-0.9, -0.5, 0.0, 0.5, 0.9};
    for (int r = 0; r < 5; ++r)
        EXPECT_NEAR(c.estimates[r].input, expected[r], 1e-9);
}

// The numbers of a table cell: ten significant digits.
std::string Cell(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

TEST(PredictionValues, AreReadWithThePointAndSplitAtBlanksLineEndsAndSemicolons) {
    EXPECT_EQ(SplitValues(" 1.5\n2;3\t 4e2\r\n-7 "),
              (std::vector<std::string>{"1.5", "2", "3", "4e2", "-7"}));
    EXPECT_TRUE(SplitValues(" \n;\t").empty());
    EXPECT_EQ(SplitValues("1,5"), (std::vector<std::string>{"1,5"}));
    double v = 0.0;
    EXPECT_TRUE(ReadFiniteValue(" 2.5 ", v));
    EXPECT_EQ(v, 2.5);
    EXPECT_TRUE(ReadFiniteValue("-1e-3", v));
    EXPECT_EQ(v, -1e-3);
    for (const char* bad : {"", "2.5x", "1,5", "inf", "nan", "1e999", "x"})
        EXPECT_FALSE(ReadFiniteValue(bad, v)) << bad;
    EXPECT_TRUE(ReadLevel("0.9", v));
    EXPECT_EQ(v, 0.9);
    for (const char* bad : {"0", "1", "95", "0,95", "-0.5", ""})
        EXPECT_FALSE(ReadLevel(bad, v)) << bad;
}

TEST_F(PredictionFixture, ThePredictionTableHasARowForEachValueTyped) {
    const Line line(kLineX, kLineY);
    const FittedCurve curve = Fit(kLineX, kLineY, 0, 1);
    const TextTable table = PredictionTable(curve, {{"4.5", "12abc"}, {"0"}}, false, {0.95});
    EXPECT_EQ(table.header,
              (std::vector<std::string>{"X", "Y", "SE of mean", "Mean low 95 %", "Mean high 95 %",
                                        "Prediction low 95 %", "Prediction high 95 %", "Note"}));
    ASSERT_EQ(table.rows.size(), 3u);
    const double y = line.a + line.b * 4.5;
    EXPECT_EQ(table.rows[0][0], "4.5");
    EXPECT_EQ(table.rows[0][1].substr(0, 8), Cell(y).substr(0, 8));
    EXPECT_EQ(table.rows[0][2].substr(0, 8), Cell(line.SeMean(4.5)).substr(0, 8));
    EXPECT_EQ(table.rows[0][6].substr(0, 8),
              Cell(y + kT975Dof6 * line.SePredicted(4.5)).substr(0, 8));
    EXPECT_EQ(table.rows[0][7], "");
    EXPECT_EQ(table.rows[1], (std::vector<std::string>{"12abc", "", "", "", "", "", "",
                                                       "\"12abc\" is not a number."}));
    EXPECT_EQ(table.rows[2][0], "0");
    EXPECT_EQ(PredictionTable(curve, {}, false, {0.9}).header[3], "Mean low 90 %");
}

TEST_F(PredictionFixture, TheCalibrationTableGivesEachRootARowAndItsWordsOnce) {
    std::vector<double> x, y;
    for (int k = 0; k <= 10; ++k) {
        x.push_back(k);
        y.push_back((k - 5.0) * (k - 5.0) + (k % 2 ? 0.1 : -0.1));
    }
    const FittedCurve curve = Fit(x, y, 0, 2);
    const TextTable table =
        PredictionTable(curve, {{"9"}, {"-50"}}, true, {0.95, false, CalibrationInterval::Wald});
    EXPECT_EQ(table.header, (std::vector<std::string>{"Y", "m", "X", "Wald lower 95 %",
                                                      "Wald upper 95 %", "Note"}));
    const Calibration c = Calibrate(curve, 9.0, {0.95, false, CalibrationInterval::Wald});
    ASSERT_EQ(c.estimates.size(), 2u);
    ASSERT_EQ(table.rows.size(), 3u);
    for (size_t r = 0; r < 2; ++r) {
        EXPECT_EQ(table.rows[r][0], "9");
        EXPECT_EQ(table.rows[r][1], "1");
        EXPECT_EQ(table.rows[r][2], Cell(c.estimates[r].input));
        EXPECT_NEAR(std::stod(table.rows[r][2]), 5.0 + (r ? 3.0 : -3.0), 0.1);
    }
    // No X in the range gives -50: the row says so and holds no numbers.
    const Calibration none = Calibrate(curve, -50.0, {});
    EXPECT_FALSE(none.message.empty());
    EXPECT_EQ(table.rows[2], (std::vector<std::string>{"-50", "1", "", "", "", none.message}));
    EXPECT_EQ(PredictionTable(curve, {}, true, {}).header[3], "Inversion lower 95 %");
}

TEST(PredictionTables, CopyWithTabsAndPrintInColumns) {
    const TextTable table{{"X", "Y", "Note"}, {{"1", "2.25", ""}, {"10.5", "n/a", "why"}}};
    EXPECT_EQ(TableTabText(table), "X\tY\tNote\n1\t2.25\t\n10.5\tn/a\twhy\n");
    EXPECT_EQ(TableLines(table),
              (std::vector<std::string>{"X     Y     Note", "1     2.25  ", "10.5  n/a   why"}));
    EXPECT_EQ(TableTabText(NoCurveTable("The fit failed.")), "Note\nThe fit failed.\n");
}

} // namespace
} // namespace lumetra
