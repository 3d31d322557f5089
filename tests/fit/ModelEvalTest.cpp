#include "fit/ModelEval.h"

#include "data/LumetraDoc.h"
#include "support/DocTest.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetra {
namespace {

TEST(ModelEval, RepeatedSquaring) {
    EXPECT_EQ(IntPow(2.0, 0), 1.0);
    EXPECT_EQ(IntPow(2.0, 10), 1024.0);
    EXPECT_EQ(IntPow(-3.0, 3), -27.0);
    EXPECT_EQ(IntPow(1.1, 5), ((1.1 * 1.1) * (1.1 * 1.1)) * 1.1);
    const double c[] = {2.0, -1.0, 3.0}; // 2u^2 - u + 3
    EXPECT_EQ(EvalPolynomialSquaring(c, 2, 2.0), 9.0);
    EXPECT_EQ(EvalPolynomialSquaring(c, 2, -0.0), 3.0);
}

struct Curve : test::DocTest {};

TEST_F(Curve, EachModelEvaluates) {
    doc.m_nCurveType = 0;
    doc.m_nOrder = 1;
    doc.m_dCoef[0] = 2.0;
    doc.m_dCoef[1] = 3.0;
    double x = 2.0, y = 0.0;
    ASSERT_TRUE(EvalCurvePoint(doc, x, y));
    EXPECT_EQ(y, 7.0);
    x = 0.0;
    ASSERT_TRUE(EvalCurvePoint(doc, x, y));
    EXPECT_EQ(y, 3.0);

    doc.m_nCurveType = 1;
    doc.m_dXInt = 0.5;
    doc.m_dYInt = 0.25;
    x = 1.0;
    ASSERT_TRUE(EvalCurvePoint(doc, x, y));
    EXPECT_DOUBLE_EQ(y, std::pow(10.0, 0.25 + 2.0 * -0.5 + 3.0));
    x = 0.0;
    EXPECT_FALSE(EvalCurvePoint(doc, x, y));
    x = -1.0;
    EXPECT_FALSE(EvalCurvePoint(doc, x, y));

    doc.m_nCurveType = 2;
    x = 0.5;
    ASSERT_TRUE(EvalCurvePoint(doc, x, y));
    EXPECT_EQ(y, 2.0 * std::exp(3.0 * 0.5));

    doc.m_nCurveType = 3; // X from Y
    x = 99.0;
    y = 0.5;
    ASSERT_TRUE(EvalCurvePoint(doc, x, y));
    EXPECT_EQ(x, 2.0 * std::exp(1.5));
    EXPECT_EQ(y, 0.5);
}

} // namespace
} // namespace lumetra
