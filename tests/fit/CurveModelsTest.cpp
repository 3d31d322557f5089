#include "fit/CurveModels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetra {
namespace {

// The codes are stored in data files and number the Curve page's radio buttons: they must run
// 0, 1, 2, ... in table order and never move.
TEST(CurveModels, CodesAreTheStoredIntegersInTableOrder) {
    const std::span<const CurveModel> models = CurveModels();
    ASSERT_EQ(models.size(), 4u);
    for (size_t i = 0; i < models.size(); ++i) {
        EXPECT_EQ(CurveCode(models[i]), int(i));
        EXPECT_EQ(FindCurveModel(int(i)), &models[i]);
        EXPECT_EQ(FindCurveModel(std::string_view(models[i].cliName)), &models[i]);
    }
    EXPECT_EQ(CurveCode(models[3]), int(CurveType::SemilogX));
    EXPECT_EQ(FindCurveModel(-1), nullptr);
    EXPECT_EQ(FindCurveModel(4), nullptr);
    EXPECT_EQ(FindCurveModel(std::string_view("Polynomial")), nullptr);
    EXPECT_EQ(FindCurveModel(std::string_view("")), nullptr);
    EXPECT_EQ(CurveModelCliNames(), "poly|loglog|semilogy|semilogx");
}

TEST(CurveModels, NamesDirectionAndOrder) {
    struct Expect {
        const char *caption, *pageName;
        bool xFromY, usesOrder;
        int coefsAtOrder3;
    } expect[] = {
        {"Polynomial", "Polynomial", false, true, 4},
        {"Log-Log Polynomial", "Log-Log Polynomial", false, true, 4},
        {"Semilog Y=Ae^BX", "Semi-Log (Y=Ae^BX)", false, false, 2},
        {"Semilog X=Ae^BY", "Semi-Log (X=Ae^BY)", true, false, 2},
    };
    for (int code = 0; code < 4; ++code) {
        const CurveModel& m = *FindCurveModel(code);
        EXPECT_STREQ(m.caption, expect[code].caption);
        EXPECT_STREQ(m.pageName, expect[code].pageName);
        EXPECT_EQ(m.xFromY, expect[code].xFromY) << code;
        EXPECT_EQ(m.usesOrder, expect[code].usesOrder) << code;
        EXPECT_EQ(CoefficientCount(m, 3), expect[code].coefsAtOrder3) << code;
    }
}

TEST(CurveModels, EachModelEvaluatesFromItsKnownSide) {
    const double coef[] = {2.0, -1.0, 3.0}; // 2u^2 - u + 3, or A = 2, B = -1
    const CurveParams curve{coef, 2, 0.5, 0.25};
    double v = 0.0;
    ASSERT_TRUE(FindCurveModel(0)->evaluate(curve, 2.0, v));
    EXPECT_EQ(v, 9.0);
    ASSERT_TRUE(FindCurveModel(0)->evaluate(curve, -0.0, v));
    EXPECT_EQ(v, 3.0);
    ASSERT_TRUE(FindCurveModel(1)->evaluate(curve, 10.0, v)); // u = 1 - 0.5
    EXPECT_EQ(v, std::pow(10.0, 0.25 + (2.0 * (0.5 * 0.5) + -1.0 * 0.5 + 3.0)));
    v = 7.0;
    EXPECT_FALSE(FindCurveModel(1)->evaluate(curve, 0.0, v));
    EXPECT_EQ(v, 7.0);
    EXPECT_STREQ(FindCurveModel(1)->noValueText,
                 "X may not be <= 0.0!\nCan't compute Y from X (Log-Log)");
    for (int code : {2, 3}) {
        ASSERT_TRUE(FindCurveModel(code)->evaluate(curve, 1.5, v));
        EXPECT_EQ(v, 2.0 * std::exp(-1.5));
        EXPECT_EQ(FindCurveModel(code)->noValueText, nullptr);
    }
}

} // namespace
} // namespace lumetra
