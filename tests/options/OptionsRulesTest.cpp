#include "options/ComputeRules.h"
#include "options/CurveDataRules.h"
#include "options/CurveTypeRules.h"
#include "options/OptionsCommands.h"

#include "data/DocumentBackup.h"
#include "data/LumetraDoc.h"
#include "dataentry/DataPageRules.h"
#include "support/DocTest.h"
#include "support/FailLargeAllocations.h"

#include <gtest/gtest.h>

#include <utility>

#include <cmath>

namespace lumetra {
namespace {

struct Options : test::DocTest {
    void SetUp() override { doc.OnNewDocument(); }
};

TEST_F(Options, SemilogModelsFixTheOrderAtOne) {
    CurveTypeRules page;
    doc.m_nOrder = 4;
    page.OnSetActive(doc);
    EXPECT_EQ(page.m_nOrder, 4);
    page.m_nType = 2;
    EXPECT_FALSE(page.UpdateOrderField());
    EXPECT_EQ(page.m_nOrder, 1);
    page.m_nType = 0;
    EXPECT_TRUE(page.UpdateOrderField());
    EXPECT_EQ(page.m_nOrder, 1);
    // Only the first activation loads the document.
    doc.m_nOrder = 7;
    page.OnSetActive(doc);
    EXPECT_EQ(page.m_nOrder, 1);
}

TEST_F(Options, TheCurvePageChecksOrderThenTitles) {
    CurveTypeRules page;
    page.OnSetActive(doc);
    page.m_nOrder = 0;
    EXPECT_EQ(page.OnKillActive(ui, doc), PageField::Order);
    page.m_nOrder = 11;
    EXPECT_EQ(page.OnKillActive(ui, doc), PageField::Order);
    page.m_nOrder = 10;
    page.m_strXTitle = "";
    page.m_strYTitle = "";
    EXPECT_EQ(page.OnKillActive(ui, doc), PageField::XTitle);
    page.m_strXTitle = "Time";
    page.m_strYTitle = "";
    EXPECT_EQ(page.OnKillActive(ui, doc), PageField::YTitle);
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0].text, "Order must be at least 1!");
    EXPECT_EQ(ui.messages[1].text, "Order must not exceed 10!");
    EXPECT_EQ(ui.messages[2].text, "X-Axis Title must not be left empty!");
    EXPECT_EQ(ui.messages[3].text, "Y-Axis Title must not be left empty!");
    page.m_strYTitle = "Temp";
    page.m_strDataTitle = "";
    EXPECT_EQ(page.OnKillActive(ui, doc), PageField::None);
    EXPECT_EQ(doc.m_strWorkXTitle, "Time");
    EXPECT_EQ(doc.m_strWorkYTitle, "Temp");
    EXPECT_EQ(doc.m_strXTitle, "X"); // written only on OK
}

TEST_F(Options, TheCurvePageWritesOnOkAndMarksOnlyRealChanges) {
    CurveTypeRules page;
    page.OnSetActive(doc);
    page.OnOK(doc);
    EXPECT_EQ(page.m_bChanged, 0);
    EXPECT_FALSE(doc.IsModified());
    page.m_strXTitle = "x"; // case counts
    page.m_nType = 1;
    page.m_nOrder = 3;
    page.OnOK(doc);
    EXPECT_EQ(page.m_bChanged, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_strXTitle, "x");
    EXPECT_EQ(doc.m_nCurveType, 1);
    EXPECT_EQ(doc.m_nOrder, 3);
}

// The weighting is written on OK as a change, remembered for new data sets, and "Standard
// deviations" is refused while a pair has none; only standard deviations can be absolute.
TEST_F(Options, TheCurvePageWeighsAndRefusesStandardDeviationsThatAreMissing) {
    doc.m_pPairs = {{1, 2, 0, 0, 0.5}, {3, 4}, {5, 6}};
    CurveTypeRules page;
    page.OnSetActive(doc);
    EXPECT_EQ(page.m_eWeights, WeightScheme::None);
    page.m_eWeights = WeightScheme::Sigma;
    page.m_bSigmaAbsolute = 1;
    EXPECT_EQ(page.OnQueryOK(ui, doc), PageField::Weights);
    EXPECT_EQ(ui.OnlyMessage(), "Weights from standard deviations need one on every pair,\n"
                                "but 2 of the 3 pairs have none!\n"
                                "Enter them on the Data page, or choose other weights.");
    doc.m_pPairs[1].m_dSigma = doc.m_pPairs[2].m_dSigma = 1e-300;
    EXPECT_EQ(page.OnQueryOK(ui, doc), PageField::None);
    page.OnOK(doc);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_eWeights, WeightScheme::Sigma);
    EXPECT_EQ(doc.m_bSigmaAbsolute, 1);
    EXPECT_EQ(settings.GetString("Preferences", kWeightsEntry, ""), "sigma");
    EXPECT_EQ(settings.GetString("Preferences", kSigmaAbsoluteEntry, ""), "1");
    CLumetraDoc fresh(ui, settings);
    EXPECT_EQ(fresh.m_eWeights, WeightScheme::Sigma);
    EXPECT_EQ(fresh.m_bSigmaAbsolute, 1);

    for (const WeightScheme scheme : {WeightScheme::None, WeightScheme::InverseX,
                                      WeightScheme::InverseY2, WeightScheme::Replicates}) {
        doc.m_pPairs[1].m_dSigma = 0.0;
        doc.SetModifiedFlag(false);
        CurveTypeRules again;
        again.OnSetActive(doc);
        again.m_eWeights = scheme;
        EXPECT_FALSE(again.AbsoluteApplies());
        EXPECT_EQ(again.OnQueryOK(ui, doc), PageField::None);
        again.OnOK(doc);
        EXPECT_EQ(doc.m_eWeights, scheme);
        EXPECT_EQ(doc.m_bSigmaAbsolute, 0) << "absolute only with standard deviations";
        EXPECT_EQ(settings.GetString("Preferences", kWeightsEntry, ""), WeightSchemeWord(scheme));
        doc.m_eWeights = WeightScheme::Sigma; // as the next page finds it
        doc.m_bSigmaAbsolute = 1;
    }
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(Options, TheResolutionPageChecksXBeforeY) {
    CurveDataRules page;
    doc.m_strWorkXTitle = "Time";
    page.OnSetActive(doc);
    EXPECT_EQ(page.m_strXDecimals, "5");
    EXPECT_EQ(page.m_nXStyle, 1);
    EXPECT_EQ(page.m_strXCaption, "Time-Data");
    EXPECT_EQ(page.m_strYCaption, "Y-Data");
    int refresh = 0;
    page.m_strXDecimals = "-1";
    page.m_strYDecimals = "-2";
    EXPECT_EQ(page.OnKillActive(ui, doc, refresh), PageField::XDecimals);
    page.m_strXDecimals = "2";
    EXPECT_EQ(page.OnKillActive(ui, doc, refresh), PageField::YDecimals);
    page.m_strXDecimals = "15";
    page.m_strYDecimals = "14";
    EXPECT_EQ(page.OnKillActive(ui, doc, refresh), PageField::XDecimals);
    page.m_strXDecimals = "14";
    page.m_strYDecimals = "15";
    EXPECT_EQ(page.OnKillActive(ui, doc, refresh), PageField::YDecimals);
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0].text, "Can't have negative digits to right of X decimal point!");
    EXPECT_EQ(ui.messages[1].text, "Can't have negative digits to right of Y decimal point!");
    EXPECT_EQ(ui.messages[2].text, "Can't have more than 14 digits to right of X decimal point!");
    EXPECT_EQ(ui.messages[3].text, "Can't have more than 14 digits to right of Y decimal point!");
    EXPECT_EQ(refresh, 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Options, TheResolutionPageWritesWhenLeft) {
    CurveDataRules page;
    page.OnSetActive(doc);
    int refresh = 0;
    page.m_strXDecimals = " 3.7"; // counts as 3
    page.m_nYStyle = 0;
    EXPECT_EQ(page.OnKillActive(ui, doc, refresh), PageField::None);
    EXPECT_EQ(doc.m_nXDecimals, 3);
    EXPECT_EQ(doc.m_bYFixed, 0);
    EXPECT_EQ(doc.m_szXFormat, "%-16.3lf");
    EXPECT_EQ(doc.m_szYFormat, "%-16.5E");
    EXPECT_EQ(refresh, 1);
    EXPECT_TRUE(doc.IsModified());
    // Left again without change: nothing more happens.
    doc.SetModifiedFlag(false);
    refresh = 0;
    page.OnSetActive(doc);
    EXPECT_EQ(page.OnKillActive(ui, doc, refresh), PageField::None);
    EXPECT_EQ(refresh, 0);
    EXPECT_FALSE(doc.IsModified());
    page.m_strYDecimals = "abc"; // no digits: 0, and OK does not test the range
    page.OnOK(doc);
    EXPECT_EQ(doc.m_nYDecimals, 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Options, ComputeResultsAndTheirForm) {
    EXPECT_EQ(FormatComputeResult(7.0), "         7.00000");
    EXPECT_EQ(FormatComputeResult(0.00001), "1.0000000E-005");
    EXPECT_EQ(FormatComputeResult(0.0), "0.0000000E+000");
    EXPECT_EQ(FormatComputeResult(-1234.5678), "-1.2345678E+003");
    EXPECT_EQ(FormatComputeResult(0.0000100001), "         0.00001");

    doc.m_nOrder = 1;
    doc.m_dCoef[0] = 2.0;
    doc.m_dCoef[1] = 3.0;
    std::string x = " 2 ";
    ComputeOutcome o = ComputeY(ui, doc, x);
    EXPECT_TRUE(o.computed);
    EXPECT_EQ(o.result, "         7.00000");
    EXPECT_EQ(x, "2");
    // Both pages check their value as every entry field does; the result stays as it was.
    const std::pair<std::string, std::string> refused[] = {
        {"1-2", "Negative sign must be 1st!"},
        {"", " value may NOT be empty!"},
        {"   ", " value may NOT be empty!"},
        {"1e", "'1e' is NOT a valid number!"},
        {"+-1", "'+-1' is NOT a valid number!"},
        {".", "'.' is NOT a valid number!"},
        {"1e309", "Value is beyond the range of numbers (about 1.8E+308)!"},
    };
    for (int type : {0, 3}) {
        doc.m_nCurveType = type;
        for (const auto& [text, message] : refused) {
            std::string input = text;
            o = type == 3 ? ComputeX(ui, doc, input) : ComputeY(ui, doc, input);
            EXPECT_FALSE(o.computed) << text;
            EXPECT_TRUE(o.inputRefused) << text;
            const std::string field = message[0] == ' ' ? (type == 3 ? "Y" : "X") : "";
            EXPECT_EQ(ui.messages.back().text, field + message) << text;
        }
    }
    doc.m_nCurveType = 0;
    x = "1e308"; // a finite X whose Y is not
    o = ComputeY(ui, doc, x);
    EXPECT_FALSE(o.computed);
    EXPECT_FALSE(o.inputRefused);
    EXPECT_EQ(ui.messages.back().text,
              "The curve's Y there is beyond the range of numbers (about 1.8E+308)!");

    doc.m_nCurveType = 1;
    doc.m_dXInt = 0.5;
    doc.m_dYInt = 0.25;
    for (const char* bad : {"0", "-1"}) {
        x = bad;
        EXPECT_FALSE(ComputeY(ui, doc, x).computed);
        EXPECT_EQ(ui.messages.back().text,
                  "X may not be <= 0.0!\nCan't compute Y from X (Log-Log)");
    }
    x = "1";
    EXPECT_EQ(ComputeY(ui, doc, x).result,
              FormatComputeResult(std::pow(10.0, 0.25 + 2.0 * -0.5 + 3.0)));

    doc.m_nCurveType = 3;
    EXPECT_FALSE(ComputesYFromX(3));
    EXPECT_TRUE(ComputesYFromX(2));
    std::string y = " 0 ";
    const size_t messages = ui.messages.size();
    o = ComputeX(ui, doc, y);
    EXPECT_EQ(o.result, "         2.00000"); // C[1]
    EXPECT_EQ(y, "0");
    y = "0.5";
    EXPECT_EQ(ComputeX(ui, doc, y).result, FormatComputeResult(2.0 * std::exp(1.5)));
    EXPECT_EQ(ui.messages.size(), messages);
}

TEST_F(Options, TheDataCommandRefitsOnlyAfterOkWithAChange) {
    int notified = 0;
    auto notify = [&] { ++notified; };
    doc.SetModifiedFlag(true);
    doc.m_strXTitle = "Time";
    // OK without a change: no fit, the flag as it was.
    EXPECT_FALSE(RunOptionsData(
        doc,
        [&](DocumentBackup&) {
            EXPECT_EQ(doc.m_strWorkXTitle, "Time");
            EXPECT_FALSE(doc.IsModified()); // the sheet starts from a clear flag
            return true;
        },
        notify));
    EXPECT_EQ(notified, 0);
    EXPECT_TRUE(doc.IsModified());
    // A change, then Cancel: no fit either, and the flag goes back.
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(RunOptionsData(
        doc,
        [&](DocumentBackup&) {
            doc.SetModifiedFlag(true);
            return false;
        },
        notify));
    EXPECT_FALSE(doc.IsModified());
    // A change and OK: pairs counted, formats rebuilt, the views told, the flag set.
    doc.m_pPairs = {{1, 2}, {3, 4}, {5, 6}};
    doc.m_nPairs = 0;
    EXPECT_TRUE(RunOptionsData(
        doc,
        [&](DocumentBackup&) {
            doc.m_nYDecimals = 2;
            doc.SetModifiedFlag(true);
            return true;
        },
        notify));
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(doc.m_nPairs, 3);
    EXPECT_EQ(doc.m_szYFormat, "%-16.2lf");
    EXPECT_TRUE(doc.IsModified());
}

// Cancel leaves the data set as the sheet found it, whatever its pages wrote into it; the pairs
// are put back when a page kept them before changing them.
TEST_F(Options, CancelPutsBackWhatThePagesChanged) {
    doc.m_pPairs = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    doc.m_nPairs = 2;
    doc.m_strXTitle = "Time";
    doc.m_dMaxX = 5;
    auto change = [&](DocumentBackup& backup) {
        EXPECT_TRUE(backup.KeepPairs(doc));
        doc.m_pPairs.push_back({9, 10});
        doc.m_pPairs[0].m_dX = 1.5;
        EXPECT_TRUE(backup.KeepPairs(doc)); // the first copy stays
        doc.m_nPairs = 3;
        doc.m_dMaxX = 9;
        doc.m_strDataTitle = doc.m_strXTitle = doc.m_strWorkXTitle = "changed";
        doc.m_nCurveType = 2;
        doc.m_nOrder = 4;
        doc.m_eFitMethod = FitMethod::Accurate;
        doc.m_eWeights = WeightScheme::Replicates;
        doc.m_bSigmaAbsolute = 1;
        doc.m_pPairs[1].m_dSigma = 0.25;
        doc.m_nXDecimals = 1;
        doc.m_bYFixed = 0;
        doc.BuildFormats();
        doc.SetModifiedFlag(true);
    };
    for (const bool wasModified : {false, true}) {
        doc.SetModifiedFlag(wasModified);
        EXPECT_FALSE(RunOptionsData(
            doc,
            [&](DocumentBackup& backup) {
                change(backup);
                return false;
            },
            [] { ADD_FAILURE() << "no view is told after Cancel"; }));
        ASSERT_EQ(doc.m_pPairs.size(), 2u);
        EXPECT_EQ(doc.m_pPairs[0].m_dX, 1.0);
        EXPECT_EQ(doc.m_pPairs[1].m_dDifference, 8.0);
        EXPECT_EQ(doc.m_nPairs, 2);
        EXPECT_EQ(doc.m_dMaxX, 5.0);
        EXPECT_EQ(doc.m_strDataTitle, "");
        EXPECT_EQ(doc.m_strXTitle, "Time");
        EXPECT_EQ(doc.m_nCurveType, 0);
        EXPECT_EQ(doc.m_nOrder, 1);
        EXPECT_EQ(doc.m_eFitMethod, FitMethod::Classic);
        EXPECT_EQ(doc.m_eWeights, WeightScheme::None);
        EXPECT_EQ(doc.m_bSigmaAbsolute, 0);
        EXPECT_EQ(doc.m_pPairs[1].m_dSigma, 0.0);
        EXPECT_EQ(doc.m_szRowFormat, "%-16.5lf\t%-16.5lf\t%-16.5lf\t%-16.5lf");
        EXPECT_EQ(doc.IsModified(), wasModified);
    }
    // OK keeps the change and marks it.
    int notified = 0;
    EXPECT_TRUE(RunOptionsData(
        doc,
        [&](DocumentBackup& backup) {
            change(backup);
            return true;
        },
        [&] { ++notified; }));
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(doc.m_pPairs.size(), 3u);
    EXPECT_EQ(doc.m_strXTitle, "changed");
    EXPECT_TRUE(doc.IsModified());
}

// Without memory for the copy that Cancel needs, the Data page changes nothing, says so and ends
// the sheet with Cancel: the set stays as it was.
TEST_F(Options, NoMemoryForTheCopyEndsTheSheetWithTheSetAsItWas) {
    test::TempDir dir;
    const std::string more = dir.Write("more.txt", "7 8\r\n");
    struct Case {
        const char* what;
        std::function<void(DataPageRules&)> change;
    } cases[] = {
        {"commit",
         [](DataPageRules& page) {
             page.m_strX = "1.5";
             page.m_strY = "2";
             EXPECT_TRUE(page.OnAdd());
             page.OnKillActive();
         }},
        {"import", [&](DataPageRules& page) { page.ImportPath(more); }},
    };
    for (const Case& c : cases) {
        doc.m_pPairs.assign(100000, CXYdata{1.0, 2.0, 3.0, -1.0}); // a commit zeroes the last two
        doc.m_nPairs = 100000;
        ui.messages.clear();
        EXPECT_FALSE(RunOptionsData(
            doc,
            [&](DocumentBackup& backup) {
                int refresh = 0;
                DataPageRules page(doc, ui, 1000, refresh, &backup);
                page.OnSetActive();
                test::FailLargeAllocations fail(size_t(1) << 20);
                c.change(page);
                EXPECT_TRUE(page.EndDialogRequested()) << c.what;
                return false; // the sheet ends with Cancel
            },
            [] {}));
        EXPECT_EQ(ui.OnlyMessage(), "Out of Memory!\nSHUT DOWN APPLICATION!") << c.what;
        EXPECT_EQ(doc.m_pPairs.size(), 100000u) << c.what;
        EXPECT_EQ(doc.m_pPairs[0].m_dComputed, 3.0) << c.what;
        EXPECT_FALSE(doc.IsModified()) << c.what;
    }
}

} // namespace
} // namespace lumetra
