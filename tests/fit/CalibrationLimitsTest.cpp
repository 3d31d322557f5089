// The limits of a straight-line calibration and the calibration of replicate readings, against
// the references of reference/make_limits_reference.R (R's lm and qt, run once).
#include "fit/CalibrationLimits.h"
#include "fit/Calibration.h"
#include "fit/FitEngine.h"
#include "support/DocTest.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace lumetra {
namespace {

using Json = nlohmann::json;

const Json& Reference() {
    static const Json json = [] {
        std::ifstream in(LUMETRA_SOURCE_DIR "/tests/fit/reference/limits_reference.json");
        return Json::parse(in);
    }();
    return json;
}

struct LimitsFixture : test::DocTest {
    // The case's pairs fitted as a straight line, its weights and new σ as the case names them.
    FittedCurve Fit(const Json& c, int type = 0, int order = 1) {
        doc.OnNewDocument();
        doc.m_pPairs.clear();
        const std::vector<double> x = c["x"], y = c["y"], s = c["s"];
        for (size_t k = 0; k < x.size(); ++k)
            doc.m_pPairs.push_back({x[k], y[k], 0.0, 0.0, s.empty() ? 0.0 : s[k]});
        doc.m_nPairs = int(x.size());
        doc.m_nCurveType = type;
        doc.m_nOrder = order;
        doc.m_eFitMethod = FitMethod::Accurate;
        doc.m_eWeights = *WeightSchemeFromWord(c.value("weights", "none"));
        doc.m_bSigmaAbsolute = c.value("absolute", false);
        EXPECT_EQ(CFitEngine(doc).RefitDocument(), 1) << c["name"];
        CurveOutcome outcome = DocumentCurve(doc);
        EXPECT_TRUE(outcome.curve) << outcome.failure;
        FittedCurve curve = outcome.curve.value_or(FittedCurve{});
        if (c.contains("sigma") && c["sigma"].is_number())
            curve.sigma = c["sigma"].get<double>();
        return curve;
    }
};

void ExpectClose(const Statistic& value, const Json& reference, const std::string& what) {
    if (reference.is_null()) {
        EXPECT_FALSE(value) << what;
        return;
    }
    ASSERT_TRUE(value) << what;
    const double r = reference.get<double>();
    EXPECT_NEAR(*value, r, 1e-9 * std::fabs(r)) << what;
}

TEST_F(LimitsFixture, EveryLimitAgreesWithTheReference) {
    for (const Json& c : Reference()["limits"]) {
        const std::string name = c["name"];
        const LimitsRequest request{c["alpha"], c["beta"], c["k"], c["m"]};
        const CalibrationLimits limits = ComputeLimits(Fit(c), request);
        ASSERT_EQ(limits.failure, "") << name;
        EXPECT_EQ(limits.dof, int(c["x"].size()) - 2);
        ExpectClose(limits.tAlpha, c["t_alpha"], name + " t alpha");
        ExpectClose(limits.tBeta, c["t_beta"], name + " t beta");
        ExpectClose(limits.tQuantification, c["t_quantification"], name + " t quantification");
        ExpectClose(limits.criticalY, c["critical_y"], name + " critical Y");
        ExpectClose(limits.criticalX, c["critical_x"], name + " critical X");
        ExpectClose(limits.detectionX, c["detection_x"], name + " detection");
        ExpectClose(limits.detectionShortcut, c["detection_shortcut_x"], name + " shortcut");
        ExpectClose(limits.quantificationX, c["quantification_x"], name + " quantification");
        // A missing limit, and only a blank far from the standards, is explained.
        const size_t explained = size_t(c["detection_x"].is_null()) +
                                 size_t(c["quantification_x"].is_null()) +
                                 size_t(c["x"][0].get<double>() > 0.0);
        EXPECT_EQ(limits.notes.size(), explained) << name;
    }
}

// A signal that falls with the amount: the limits of the mirrored line, the critical Y mirrored.
TEST_F(LimitsFixture, AFallingLineHasTheLimitsOfItsMirrorImage) {
    for (const char* name : {"fluorescence", "weighted sigma"})
        for (const Json& c : Reference()["limits"]) {
            if (c["name"] != name)
                continue;
            Json mirrored = c;
            for (Json& y : mirrored["y"])
                y = -y.get<double>();
            const CalibrationLimits limits = ComputeLimits(Fit(mirrored), {});
            ASSERT_EQ(limits.failure, "") << name;
            ExpectClose(-limits.criticalY, c["critical_y"], std::string(name) + " critical Y");
            ExpectClose(limits.criticalX, c["critical_x"], std::string(name) + " critical X");
            ExpectClose(limits.detectionX, c["detection_x"], std::string(name) + " detection");
            ExpectClose(limits.quantificationX, c["quantification_x"],
                        std::string(name) + " quantification");
        }
}

TEST_F(LimitsFixture, TheReadingsOfOneSampleCalibrateFromTheirMean) {
    for (const Json& c : Reference()["replicates"]) {
        const std::string name = c["name"];
        const FittedCurve curve = Fit(c);
        const std::vector<double> readings = c["readings"];
        for (CalibrationInterval kind :
             {CalibrationInterval::Wald, CalibrationInterval::Inversion}) {
            const std::string word = CalibrationIntervalWord(kind);
            const Calibration result =
                CalibrateReadings(curve, readings, {c["level"], false, kind});
            EXPECT_EQ(result.readings, int(readings.size()));
            ExpectClose(result.observed, c["mean"], name + " mean");
            ASSERT_EQ(result.estimates.size(), 1u) << name << result.message;
            ExpectClose(result.estimates[0].input, c["x0"], name + " estimate");
            ExpectClose(result.estimates[0].lower,
                        c[word == "wald" ? "wald_lower" : "inversion_lower"],
                        name + " lower " + word);
            ExpectClose(result.estimates[0].upper,
                        c[word == "wald" ? "wald_upper" : "inversion_upper"],
                        name + " upper " + word);
        }
    }
}

TEST_F(LimitsFixture, RefusesWhatHasNoLimitsInWords) {
    const Json line = {
        {"x", {1, 2, 3, 4, 5}}, {"y", {0.1, 1.2, 1.9, 3.2, 3.9}}, {"s", Json::array()}};
    const Json flat = {{"x", {0, 1, 2, 3}}, {"y", {2, 2, 2, 2}}, {"s", Json::array()}};
    const Json exact = {{"x", {0, 1, 2, 3}}, {"y", {1, 3, 5, 7}}, {"s", Json::array()}};
    const Json two = {{"x", {0, 1}}, {"y", {1, 3}}, {"s", Json::array()}};
    const Json inverseX = {
        {"x", {1, 2, 3, 4}}, {"y", {1.1, 1.9, 3.2, 3.9}}, {"s", Json::array()}, {"weights", "1/x"}};
    const std::string line1 = "Limits of detection and quantification belong to a straight-line "
                              "calibration (Polynomial of order 1): this fit is ";
    struct Row {
        const Json& data;
        int type, order;
        std::string failure;
    } rows[] = {
        {line, 1, 1, line1 + "Log-Log Polynomial."},
        {line, 2, 1, line1 + "Semilog Y=Ae^BX."},
        {line, 0, 2, line1 + "of order 2."},
        {two, 0, 1,
         "Limits of detection and quantification need at least 3 pairs, for a residual scatter "
         "beside the line: the fit has 2 pairs."},
        {flat, 0, 1,
         "The line is flat (slope 0): no amount differs from the blank in the signal, so there "
         "are no limits."},
        {exact, 0, 1,
         "The line passes through every pair exactly: with no residual scatter the limits would "
         "be 0, which says nothing about the method."},
        {inverseX, 0, 1,
         "Weights 1/X give a reading of the blank (X = 0) no weight, so its scatter is unknown: "
         "give the standard deviation of a new reading (σ new) for the limits."},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ComputeLimits(Fit(row.data, row.type, row.order), {}).failure, row.failure);
}

TEST(LimitsOptions, RefuseValuesOutOfRange) {
    const std::string alpha = "alpha, the error probability of the decision, must be a number "
                              "above 0 and below 0.5, such as 0.05.";
    const std::string beta = "beta, the error probability of a missed detection, must be a "
                             "number above 0 and below 0.5, such as 0.05.";
    const std::string k = "k, the quantification limit's factor, must be a number above 0, such "
                          "as 3.";
    const std::string m = "The number of readings of a sample, m, must be a whole number from 1 "
                          "to 1000000.";
    const double nan = std::nan("");
    struct Row {
        LimitsRequest request;
        std::string error;
    } rows[] = {
        {{0.05, 0.05, 3, 1}, ""},       {{0.4999, 1e-9, 0.5, 1000000}, ""},
        {{0, 0.05, 3, 1}, alpha},       {{0.5, 0.05, 3, 1}, alpha},
        {{nan, 0.05, 3, 1}, alpha},     {{0.05, 0, 3, 1}, beta},
        {{0.05, -0.1, 3, 1}, beta},     {{0.05, 0.05, 0, 1}, k},
        {{0.05, 0.05, INFINITY, 1}, k}, {{0.05, 0.05, 3, 0}, m},
        {{0.05, 0.05, 3, 1000001}, m},
    };
    for (const Row& row : rows)
        EXPECT_EQ(LimitsOptionsError(row.request), row.error)
            << row.request.alpha << " " << row.request.k << " " << row.request.replicates;
}

} // namespace
} // namespace lumetra
