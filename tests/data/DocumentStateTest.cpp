#include "data/LumetraDoc.h"
#include "support/DocTest.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetra {
namespace {

using DocumentState = test::DocTest;

TEST_F(DocumentState, NewDocumentHoldsTheDefaults) {
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_EQ(doc.m_strDataTitle, "");
    EXPECT_EQ(doc.m_strXTitle, "X");
    EXPECT_EQ(doc.m_strYTitle, "Y");
    EXPECT_EQ(doc.m_nCurveType, 0);
    EXPECT_EQ(doc.m_nOrder, 1);
    EXPECT_EQ(doc.m_bXFixed, 1);
    EXPECT_EQ(doc.m_bYFixed, 1);
    EXPECT_EQ(doc.m_nXDecimals, 5);
    EXPECT_EQ(doc.m_nYDecimals, 5);
    EXPECT_EQ(doc.m_nXWidth, 16);
    EXPECT_EQ(doc.m_strFileName, "UnNamed File");
    EXPECT_EQ(doc.m_nMaxLineLen, 100);
    EXPECT_EQ(doc.m_nLinesPerPage, 55);
    EXPECT_EQ(doc.m_nBorder, 3);
    EXPECT_FALSE(doc.IsModified());
    for (double c : doc.m_dCoef)
        EXPECT_EQ(c, 0.0);
    EXPECT_EQ(doc.m_szXFormat, "%-16.5lf");
    EXPECT_EQ(doc.m_szWideFormat, "%-16.5lf");
    EXPECT_EQ(doc.m_szPairFormat, "%-16.5lf\t%-16.5lf");
    EXPECT_EQ(doc.m_szRowFormat, "%-16.5lf\t%-16.5lf\t%-16.5lf\t%-16.5lf");
}

TEST_F(DocumentState, NewDocumentLoadsTheLastPathAndForgetsThePathName) {
    settings.SetString("Preferences", "LastPath", "/home/ada/data");
    doc.SetPathName("/old/x.dat");
    doc.SetModifiedFlag(true);
    doc.OnNewDocument();
    EXPECT_EQ(doc.m_strLastPath, "/home/ada/data");
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentState, WideAndRowFormatsFollowTheAxisWithMoreDecimals) {
    doc.m_nXDecimals = 3;
    doc.m_nYDecimals = 7;
    doc.BuildFormats();
    EXPECT_EQ(doc.m_szWideFormat, "%-16.7lf");
    EXPECT_EQ(doc.m_szRowFormat, "%-16.3lf\t%-16.7lf\t%-16.7lf\t%-16.7lf");

    doc.m_nXDecimals = 7;
    doc.m_nYDecimals = 3;
    doc.BuildFormats();
    EXPECT_EQ(doc.m_szWideFormat, "%-16.7lf");
    EXPECT_EQ(doc.m_szRowFormat, "%-16.7lf\t%-16.3lf\t%-16.3lf\t%-16.7lf");

    doc.m_nXDecimals = 4;
    doc.m_nYDecimals = 4;
    doc.m_bYFixed = 0;
    doc.BuildFormats();
    // A tie takes X's format for the difference; a single exponent axis makes the wide one so.
    EXPECT_EQ(doc.m_szRowFormat, "%-16.4lf\t%-16.4E\t%-16.4E\t%-16.4lf");
    EXPECT_EQ(doc.m_szWideFormat, "%-16.4E");
    EXPECT_EQ(doc.m_szPairFormat, "%-16.4lf\t%-16.4E");
}

TEST_F(DocumentState, PairsFormatThemselves) {
    doc.BuildFormats();
    CXYdata p{1234.5, -2.0, 3.25, -0.125};
    std::string row;
    p.FormatRow(row, doc);
    EXPECT_EQ(row, "1234.50000      \t-2.00000        \t3.25000         \t-0.12500        ");
    std::string line;
    p.FormatFileLine(line, doc);
    EXPECT_EQ(line, row + "\r\n");
    EXPECT_EQ(p.FormatPair(doc), "1234.50000      \t-2.00000        ");
    doc.m_bXFixed = 0;
    doc.BuildFormats();
    EXPECT_EQ(p.FormatPair(doc), "1.23450E+003    \t-2.00000        ");
}

// The file line shows X and Y at the display precision and adds the exact value of each that
// does not read back from what is shown; computed value and difference never get one.
TEST_F(DocumentState, FileLinesCarryTheExactValuesTheDisplayLoses) {
    struct Case {
        CXYdata pair;
        int xDecimals, xFixed;
        const char* fields;
    } cases[] = {
        {{9.87654, 2.5, 1.0 / 3, 0.1}, 2, 1, "\tx=9.87654"},
        {{0.1, -1e-9, 0, 0}, 5, 1, "\ty=-1e-09"},
        {{1234.5, 2.0 / 3, 0, 0}, 3, 0, "\tx=1234.5\ty=0.6666666666666666"}, // 1.234E+003
        {{1234.0, 7.0, 0, 0}, 3, 0, ""},
        {{-0.0, 0.0, 0, 0}, 0, 1, ""}, // "-0" reads back as -0.0
        {{1e-300, 1e300, 0, 0}, 14, 0, ""},
        {{0.1 + 0.2, 8.5, 0, 0}, 14, 1, "\tx=0.30000000000000004"},
    };
    for (const Case& c : cases) {
        doc.m_nXDecimals = c.xDecimals;
        doc.m_bXFixed = c.xFixed;
        doc.m_bYFixed = c.xFixed;
        doc.BuildFormats();
        std::string row, line;
        c.pair.FormatRow(row, doc);
        c.pair.FormatFileLine(line, doc);
        EXPECT_EQ(line, row + c.fields + "\r\n") << row;
    }
}

TEST_F(DocumentState, ExtremesMoveOnlyOnStrictlyLargerOrSmaller) {
    doc.ResetExtremes({2.0, 5.0});
    doc.UpdateExtremes({2.0, 5.0});
    doc.UpdateExtremes({-1.0, 7.0});
    doc.UpdateExtremes({3.0, -4.0});
    EXPECT_EQ(doc.m_dMinX, -1.0);
    EXPECT_EQ(doc.m_dMaxX, 3.0);
    EXPECT_EQ(doc.m_dMinY, -4.0);
    EXPECT_EQ(doc.m_dMaxY, 7.0);
    // -0.0 equals 0.0: an equal value leaves the first one in place.
    doc.ResetExtremes({0.0, 0.0});
    doc.UpdateExtremes({-0.0, -0.0});
    EXPECT_FALSE(std::signbit(doc.m_dMinX));
    EXPECT_FALSE(std::signbit(doc.m_dMaxY));
}

TEST_F(DocumentState, ClearDataKeepsSettingsAndResult) {
    doc.m_pPairs.push_back({1, 2});
    doc.m_pReportLines.push_back("line");
    doc.m_dCoef[0] = 3.0;
    doc.m_strDataTitle = "T";
    doc.ClearData();
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_TRUE(doc.m_pReportLines.empty());
    EXPECT_EQ(doc.m_dCoef[0], 3.0);
    EXPECT_EQ(doc.m_strDataTitle, "T");
}

TEST_F(DocumentState, RememberDirectoryKeepsTheRootSlash) {
    doc.RememberDirectory("/x.dat");
    EXPECT_EQ(doc.m_strLastPath, "/");
    EXPECT_EQ(settings.GetString("Preferences", "LastPath"), "/");
    doc.RememberDirectory("/home/ada/data/x.dat");
    EXPECT_EQ(doc.m_strLastPath, "/home/ada/data");
    EXPECT_EQ(settings.GetString("Preferences", "LastPath"), "/home/ada/data");
    doc.RememberDirectory("plain.dat"); // no separator: nothing changes
    EXPECT_EQ(doc.m_strLastPath, "/home/ada/data");
}

} // namespace
} // namespace lumetra
