// The "Lack of fit" and "Orders" sections of the Statistics window's text and their JSON, on the
// calibration of orders_reference.json (every number in the lines below is R's, from
// make_orders_reference.R, in the window's format), and their words for the models and data they
// refuse.
#include "stats/OrdersText.h"
#include "fit/CurveModels.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"
#include "stats/LinearityText.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace lumetra {
namespace {

struct OrdersText : ::testing::Test {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};

    void Fit(const std::vector<CXYdata>& pairs, CurveType type = CurveType::Polynomial,
             WeightScheme weights = WeightScheme::None) {
        doc.OnNewDocument();
        doc.m_pPairs = pairs;
        doc.m_nPairs = int(pairs.size());
        doc.m_nCurveType = int(type);
        doc.m_nOrder = 1;
        doc.m_eFitMethod = FitMethod::Accurate;
        doc.m_eWeights = weights;
        ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    }
    // The calibration of the R reference: seven levels, three readings each.
    static std::vector<CXYdata> Calibration() {
        std::ifstream in(LUMETRA_SOURCE_DIR "/tests/fit/reference/orders_reference.json");
        const nlohmann::json set = nlohmann::json::parse(in)["sets"][0];
        std::vector<CXYdata> pairs;
        for (size_t k = 0; k < set["t"].size(); ++k)
            pairs.push_back({set["t"][k].get<double>(), set["v"][k].get<double>()});
        return pairs;
    }
};

TEST_F(OrdersText, TheLinearityLinesOfACalibration) {
    Fit(Calibration());
    EXPECT_EQ(LinearityLines(DocumentLinearity(doc)),
              (std::vector<std::string>{
                  "         Lack of fit: 21 pairs at 7 distinct X values, 2 coefficients",
                  "         Pure error (14 df):                3.83874976E-001",
                  "         Lack of fit (5 df):                2.80530722E-001",
                  "         F statistic:                       2.04620273E+000",
                  "         p value of F:                      1.33860283E-001",
                  "         Mandel's test of the straight line against the quadratic:",
                  "         SSE of the quadratic (18 df):      4.62042198E-001",
                  "         F statistic (1 and 18 df):         7.88357215E+000",
                  "         p value of F:                      1.16412135E-002",
                  std::string(80, '-'),
              }));
}

TEST_F(OrdersText, TheOrdersSectionOfACalibration) {
    Fit(Calibration());
    const std::vector<std::string> lines = OrdersLines(doc, DocumentOrderTable(doc));
    ASSERT_EQ(lines.size(), 20u);
    const std::vector<std::pair<size_t, std::string>> expected = {
        {0, "         Orders"},
        {1, "         Fitted scale: Y on X   Pairs: 21   Distinct X values: 7"},
        {2, "Order       n   dof            SSE     Residual SD       R-squared      Adj. R-sq.  "
            "     Condition"},
        {4, "    2      21    18  4.620422E-001   1.602155E-001   9.993145E-001   9.992384E-001* "
            " 7.801132E+000"},
        {9, "Order       n   dof            AIC            AICc             BIC               F  "
            "        p of F           PRESS      PRESS RMSE"},
        {11, "    2      21    18 -1.255363E+001* -1.005363E+001* -8.375543E+000*  7.883572E+000  "
             " 1.164121E-002*  7.474400E-001*  1.886594E-001"},
        {18, "         Order 7 and above need more distinct X values than the data's 7."},
        {19, "         AIC, AICc, BIC and PRESS favour order 2; the F test of order 3 is not "
             "significant (p = 0.86)."},
    };
    for (const auto& [at, line] : expected)
        EXPECT_EQ(lines[at], line) << at;
}

// R's weighted figures through the document's own weights (1/X²).
TEST_F(OrdersText, AWeightedCalibrationTakesTheDocumentsWeights) {
    Fit(Calibration(), CurveType::Polynomial, WeightScheme::InverseX2);
    const OrderTable table = DocumentOrderTable(doc);
    ASSERT_EQ(table.rows.size(), 6u);
    EXPECT_NEAR(table.rows[1].aic, -41.65922481078057, 1e-9);
    EXPECT_NEAR(*table.rows[1].press, 0.017894754672559424, 1e-12);
    const Linearity linearity = DocumentLinearity(doc);
    EXPECT_NEAR(*linearity.lackOfFit->f, 3.625582902462849, 1e-9);
    EXPECT_NEAR(*linearity.mandel->f, 14.300236207633226, 1e-8);
}

TEST_F(OrdersText, ModelsWithoutAnOrderAndTransformedScalesAreSaidSo) {
    const std::vector<CXYdata> pairs = {{1, 2.0}, {1, 2.1},  {2, 4.1},
                                        {2, 3.9}, {4, 16.5}, {4, 15.8}};
    Fit(pairs, CurveType::SemilogY);
    EXPECT_EQ(OrdersLines(doc, DocumentOrderTable(doc)),
              (std::vector<std::string>{"         Orders",
                                        "         The order table is for the polynomial models; "
                                        "Semilog Y=Ae^BX has no order."}));
    EXPECT_EQ(DocumentLinearity(doc).scaleNote,
              "Tested in the fitted scale, ln(Y) on X, where the curve is fitted by least "
              "squares.");
    Fit(pairs, CurveType::LogLog);
    EXPECT_EQ(DocumentLinearity(doc).scaleNote,
              "Tested in the fitted scale, G on H, where the curve is fitted by least squares.");
    EXPECT_EQ(DocumentOrderTable(doc).highest, 2);
    Fit(pairs);
    EXPECT_EQ(DocumentLinearity(doc).scaleNote, "");
}

// Equal values: -inf in the text, null in the JSON, and the words.
TEST_F(OrdersText, ZeroResidualsAreMinusInfinity) {
    Fit({{1, 5}, {2, 5}, {3, 5}, {4, 5}});
    const OrderTable table = DocumentOrderTable(doc);
    const std::vector<std::string> lines = OrdersLines(doc, table);
    EXPECT_EQ(lines[6].substr(0, 50), "    1       4     2           -inf*            n/a");
    EXPECT_EQ(lines[11], "         From order 1 on the residuals are all zero: AIC, AICc and BIC "
                         "are minus infinity (-inf).");
    EXPECT_EQ(lines[10], "         Order 3 and above leave no degrees of freedom with 4 pairs.");
    const nlohmann::json json = nlohmann::json::parse(OrdersJson(doc, table));
    EXPECT_TRUE(json["rows"][0]["aic"].is_null());
    EXPECT_TRUE(json["rows"][0]["r_squared"].is_null());
    EXPECT_EQ(json["best"]["aic"], 1);
    EXPECT_TRUE(json["best"]["f"].is_null());
    EXPECT_EQ(json["highest_order"], 2);
}

} // namespace
} // namespace lumetra
