// The influence measures against R's lm (tests/fit/reference/make_influence_reference.R), and the
// cases where a measure does not exist.
#include "fit/Influence.h"
#include "fit/CurveModels.h"
#include "fit/FitEngine.h"
#include "support/DocTest.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace lumetra {
namespace {

using Json = nlohmann::json;

struct InfluenceReference : test::DocTest {
    InfluenceTable Fit(const std::vector<CXYdata>& pairs, const std::string& model, int order,
                       const std::string& weights) {
        doc.OnNewDocument();
        doc.m_pPairs = pairs;
        doc.m_nPairs = int(pairs.size());
        doc.m_nCurveType = CurveCode(*FindCurveModel(model));
        doc.m_nOrder = order;
        doc.m_eWeights = *WeightSchemeFromWord(weights);
        doc.m_eFitMethod = FitMethod::Accurate;
        EXPECT_TRUE(CFitEngine(doc).RefitDocument()) << model;
        InfluenceOutcome outcome = DocumentInfluence(doc);
        EXPECT_TRUE(outcome.table) << outcome.failure;
        return outcome.table ? *outcome.table : InfluenceTable{};
    }
};

// Eight significant digits, as every other statistic of a fit keeps against its reference.
void ExpectClose(const Statistic& value, const Json& reference, const std::string& what) {
    if (reference.is_null()) {
        EXPECT_FALSE(value) << what << " should not exist";
        return;
    }
    ASSERT_TRUE(value) << what << " is missing";
    const double r = reference.get<double>();
    EXPECT_NEAR(*value, r, 1e-8 * std::max(std::fabs(r), 1e-2)) << what;
}

std::vector<int> Numbers(const InfluenceTable& table, bool PairInfluence::*flag) {
    std::vector<int> numbers;
    for (size_t k = 0; k < table.pairs.size(); ++k)
        if (table.pairs[k].*flag)
            numbers.push_back(int(k) + 1);
    return numbers;
}

TEST_F(InfluenceReference, EveryMeasureAndFlagAgreesWithR) {
    std::ifstream in(LUMETRA_SOURCE_DIR "/tests/fit/reference/influence_reference.json");
    const Json reference = Json::parse(in);
    for (const Json& c : reference["cases"]) {
        const std::string name = c["name"];
        const std::vector<double> x = c["x"], y = c["y"];
        std::vector<CXYdata> pairs;
        for (size_t k = 0; k < x.size(); ++k)
            pairs.push_back({x[k], y[k]});
        const InfluenceTable t = Fit(pairs, c["model"], c["order"], c["weights"]);
        ASSERT_EQ(t.pairs.size(), x.size()) << name;
        for (size_t k = 0; k < x.size(); ++k) {
            const std::string what = name + " pair " + std::to_string(k + 1);
            const PairInfluence& p = t.pairs[k];
            ExpectClose(p.leverage, c["leverage"][k], what + " leverage");
            ExpectClose(p.standardized, c["standardized"][k], what + " standardized");
            ExpectClose(p.studentized, c["studentized"][k], what + " studentized");
            ExpectClose(p.cooks, c["cooks"][k], what + " Cook's distance");
            ExpectClose(p.dffits, c["dffits"][k], what + " DFFITS");
        }
        ExpectClose(t.durbinWatson, c["durbin_watson"], name + " Durbin-Watson");
        ExpectClose(t.studentizedCutoff, c["t_cutoff"], name + " cut-off");
        EXPECT_EQ(Numbers(t, &PairInfluence::outlier), c["outliers"].get<std::vector<int>>())
            << name;
        EXPECT_EQ(Numbers(t, &PairInfluence::influential), c["influential"].get<std::vector<int>>())
            << name;
    }
}

// Where R divides by zero the measures do not exist, and the table says why in words.
TEST_F(InfluenceReference, MissingMeasuresAreSaidInWords) {
    struct Row {
        std::vector<CXYdata> pairs;
        std::vector<std::string> notes;
        size_t measured; // the pairs before it have a studentized residual, the rest none
    } rows[] = {
        {{{1, 2}, {1, 2.5}, {1, 2.25}, {6, 9}},
         {"Pair 4 has leverage 1: the curve passes through it whatever its value, so its "
          "residual measures do not exist."},
         3},
        {{{1, 5.25}, {2, 5.25}, {4, 5.25}, {8, 5.25}},
         {"The residuals are all 0: the standardized and studentized residuals, Cook's distance "
          "and DFFITS do not exist."},
         0},
        {{{1, 1}, {2, 3}, {4, 7}},
         {"The residuals are all 0: the standardized and studentized residuals, Cook's distance "
          "and DFFITS do not exist.",
          "With 3 pairs and 2 coefficients no degree of freedom is left when a pair is left out: "
          "there are no studentized residuals, DFFITS or outlier test."},
         0},
    };
    for (const Row& r : rows) {
        const InfluenceTable t = Fit(r.pairs, "poly", 1, "none");
        EXPECT_EQ(t.notes, r.notes);
        EXPECT_EQ(t.flagged, 0);
        for (size_t k = 0; k < t.pairs.size(); ++k) {
            const PairInfluence& p = t.pairs[k];
            EXPECT_EQ(bool(p.studentized), k < r.measured) << r.notes[0] << k;
            EXPECT_EQ(bool(p.dffits), k < r.measured) << r.notes[0] << k;
            EXPECT_EQ(bool(p.cooks), k < r.measured) << r.notes[0] << k;
        }
    }
}

} // namespace
} // namespace lumetra
