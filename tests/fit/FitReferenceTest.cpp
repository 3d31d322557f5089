// Every derived number of a fit against the 100-digit references of
// tests/fit/reference/make_fit_reference.py: data far from zero (monthly dates, 1e6 ± 10 and
// ± 0.5, years 2000-2025 at orders 1 to 6), near zero, a tight fit, constant values and
// replicates, for all four models where their logarithms have values; and of
// make_weighted_reference.py: every weighting scheme, relative and absolute, for all four models,
// on calibration standards and on years.
#include "fit/Calibration.h"
#include "fit/CurveModels.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace lumetra {
namespace {

using Json = nlohmann::json;

constexpr double kDigits = 8.0;

// Both files' cases, at the level they share.
const Json& Reference() {
    static const Json reference = [] {
        auto read = [](const char* name) {
            std::ifstream in(std::string(LUMETRA_SOURCE_DIR "/tests/fit/reference/") + name);
            return Json::parse(in);
        };
        Json all = read("fit_reference.json");
        const Json weighted = read("weighted_reference.json");
        for (const Json& c : weighted["cases"])
            all["cases"].push_back(c);
        return all;
    }();
    return reference;
}

std::optional<double> SigmaOf(const Json& r) {
    return r.contains("sigma") && !r["sigma"].is_null() ? std::optional(r["sigma"].get<double>())
                                                        : std::nullopt;
}

// The digits `value` keeps of the reference, relative to the larger of it and `scale`.
void ExpectDigits(const Statistic& value, const Json& reference, double scale,
                  const std::string& what) {
    if (reference.is_null()) {
        EXPECT_FALSE(value) << what << " should be n/a";
        return;
    }
    ASSERT_TRUE(value) << what << " is missing";
    const double r = reference.get<double>();
    EXPECT_GE(DigitsKept(*value, r, std::fabs(scale)), kDigits)
        << what << ": " << *value << " against " << r;
}

struct FitReference : ::testing::TestWithParam<FitMethod> {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};

    // False when the classic method refuses the data; it must then offer the accurate one.
    bool Fit(const Json& c) {
        doc.OnNewDocument();
        const std::vector<double> x = c["x"], y = c["y"];
        const std::vector<double> sigma = c.value("sigma", std::vector<double>(x.size(), 0.0));
        doc.m_pPairs.clear();
        for (size_t k = 0; k < x.size(); ++k)
            doc.m_pPairs.push_back({x[k], y[k], 0.0, 0.0, sigma[k]});
        doc.m_eWeights = *WeightSchemeFromWord(c.value("weights", "none"));
        doc.m_bSigmaAbsolute = c.value("absolute", false);
        doc.m_nPairs = int(x.size());
        doc.m_nCurveType = CurveCode(*FindCurveModel(c["model"].get<std::string>()));
        doc.m_nOrder = c["order"];
        doc.m_eFitMethod = GetParam();
        ui.messages.clear();
        if (CFitEngine(doc).RefitDocument())
            return true;
        EXPECT_EQ(GetParam(), FitMethod::Classic) << c["name"];
        EXPECT_FALSE(ui.messages.empty() || ui.messages.back().action.empty()) << c["name"];
        return false;
    }

    // The fitted curve of the case, or nothing where the classic method refused it.
    std::optional<FittedCurve> Curve(const Json& c) {
        if (!Fit(c))
            return std::nullopt;
        const CurveOutcome outcome = DocumentCurve(doc);
        EXPECT_TRUE(outcome.curve) << c["name"] << ": " << outcome.failure;
        return outcome.curve;
    }
};

TEST_P(FitReference, StatisticsKeepEightDigits) {
    for (const Json& c : Reference()["cases"]) {
        if (!Fit(c))
            continue;
        const std::string name = c["name"];
        const StatisticsOutcome outcome = DocumentStatistics(doc, Reference()["level"]);
        ASSERT_TRUE(outcome.stats) << name << ": " << outcome.failure;
        const FitStatistics& s = *outcome.stats;
        const Json& ref = c["statistics"];
        ASSERT_EQ(s.coefficients.size(), ref["coefficients"].size()) << name;
        for (size_t i = 0; i < s.coefficients.size(); ++i) {
            const CoefficientStatistics& mine = s.coefficients[i];
            const Json& r = ref["coefficients"][i];
            const std::string what = name + " " + mine.name;
            EXPECT_EQ(mine.name, r["name"]) << what;
            const double se = r["std_error"].get<double>();
            // A bound is measured against the interval's half-width, an estimate against its
            // standard error where it is nearly zero.
            ExpectDigits(mine.estimate, r["estimate"], se * 1e-3, what + " estimate");
            ExpectDigits(mine.stdError, r["std_error"], 0.0, what + " SE");
            ExpectDigits(mine.t, r["t"], 1e-3, what + " t");
            ExpectDigits(mine.p, r["p"], 0.0, what + " p");
            ExpectDigits(mine.ciLow, r["ci_low"], 2 * se, what + " CI low");
            ExpectDigits(mine.ciHigh, r["ci_high"], 2 * se, what + " CI high");
        }
        const double sd = ref["residual_std_dev"];
        ExpectDigits(s.residualStdDev, ref["residual_std_dev"], 0.0, name + " residual SD");
        ExpectDigits(s.sse, ref["sse"], 0.0, name + " SSE");
        ExpectDigits(s.rSquared, ref["r_squared"], 0.0, name + " R²");
        ExpectDigits(s.adjRSquared, ref["adj_r_squared"], 0.0, name + " adjusted R²");
        ExpectDigits(s.f, ref["f"], 0.0, name + " F");
        ExpectDigits(s.fP, ref["f_p"], 0.0, name + " p of F");
        if (!ref.contains("chi_square")) {
            EXPECT_EQ(s.notes.empty(), sd != 0.0) << name;
            continue;
        }
        ExpectDigits(s.chiSquare, ref["chi_square"], 0.0, name + " chi-square");
        ExpectDigits(s.reducedChiSquare, ref["reduced_chi_square"], 0.0, name + " reduced");
        ExpectDigits(s.chiSquareP, ref["chi_square_p"], 0.0, name + " p of chi-square");
        ExpectDigits(s.effectivePairs, ref["effective_pairs"], 0.0, name + " effective pairs");
        ASSERT_EQ(s.pearsonResiduals.size(), ref["pearson"].size()) << name;
        for (size_t k = 0; k < s.pearsonResiduals.size(); ++k)
            ExpectDigits(s.pearsonResiduals[k], ref["pearson"][k], sd * 1e-3,
                         name + " weighted residual " + std::to_string(k + 1));
        EXPECT_EQ(s.notes.empty(), c["absolute"].get<bool>()) << name;
    }
}

TEST_P(FitReference, PredictionsKeepEightDigits) {
    for (const Json& c : Reference()["cases"]) {
        std::optional<FittedCurve> curve = Curve(c);
        if (!curve)
            continue;
        const std::string name = c["name"];
        for (const Json& r : c["predictions"]) {
            curve->sigma = SigmaOf(r);
            const Prediction p = Predict(*curve, r["input"], Reference()["level"]);
            const std::string what = name + " at " + std::to_string(r["input"].get<double>());
            const double width = r["pred_high"].is_null()
                                     ? r["mean_high"].get<double>() - r["mean_low"].get<double>()
                                     : r["pred_high"].get<double>() - r["pred_low"].get<double>();
            ExpectDigits(p.output, r["output"], 0.0, what + " value");
            ExpectDigits(p.seMean, r["se_mean"], 1e-300, what + " SE of the mean");
            ExpectDigits(p.meanLow, r["mean_low"], width * 1e-3, what + " mean low");
            ExpectDigits(p.meanHigh, r["mean_high"], width * 1e-3, what + " mean high");
            ExpectDigits(p.predLow, r["pred_low"], width * 1e-3, what + " prediction low");
            ExpectDigits(p.predHigh, r["pred_high"], width * 1e-3, what + " prediction high");
        }
    }
}

TEST_P(FitReference, CalibrationsKeepEightDigits) {
    for (const Json& c : Reference()["cases"]) {
        std::optional<FittedCurve> curve = Curve(c);
        if (!curve)
            continue;
        const std::string name = c["name"];
        const double range = curve->high - curve->low;
        for (const Json& r : c["calibrations"]) {
            CalibrationRequest request;
            request.level = Reference()["level"];
            request.meanResponse = r["mean_response"];
            request.interval = r["interval"] == "wald" ? CalibrationInterval::Wald
                                                       : CalibrationInterval::Inversion;
            curve->sigma = SigmaOf(r);
            const Calibration cal = Calibrate(*curve, r["observed"], request);
            const std::string what = name + " of " + std::to_string(r["observed"].get<double>()) +
                                     " " + r["interval"].get<std::string>() +
                                     (request.meanResponse ? " mean" : "");
            if (r["flat"]) {
                EXPECT_TRUE(cal.estimates.empty()) << what;
                EXPECT_EQ(cal.message.rfind("Every X from 1 to 8 gives", 0), 0u) << cal.message;
                continue;
            }
            ASSERT_EQ(cal.estimates.size(), r["estimates"].size()) << what;
            for (size_t i = 0; i < cal.estimates.size(); ++i) {
                const Json& e = r["estimates"][i];
                ExpectDigits(cal.estimates[i].input, e["input"], range * 1e-3, what + " input");
                ExpectDigits(cal.estimates[i].lower, e["lower"], range * 1e-3, what + " lower");
                ExpectDigits(cal.estimates[i].upper, e["upper"], range * 1e-3, what + " upper");
            }
        }
    }
}

// Both methods' statistics, intervals and calibrations describe the same stable solution.
INSTANTIATE_TEST_SUITE_P(BothMethods, FitReference,
                         ::testing::Values(FitMethod::Accurate, FitMethod::Classic),
                         [](const auto& info) { return std::string(FitMethodWord(info.param)); });

} // namespace
} // namespace lumetra
