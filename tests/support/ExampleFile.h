#pragma once

#include "data/LumetraDoc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumetra::test {

// The example data set: title "Test", pairs (0, 1) and (2, 5), fitted exactly by Y = 2X + 1.
inline void FillExample(CLumetraDoc& doc) {
    doc.OnNewDocument();
    doc.m_strDataTitle = "Test";
    doc.m_strXTitle = "X";
    doc.m_strYTitle = "Y";
    doc.m_nOrder = 1;
    doc.m_dSumAbsDiff = 0.0;
    doc.m_dPerformance = 1.0;
    doc.m_dCoef[0] = 2.0;
    doc.m_dCoef[1] = 1.0;
    doc.m_pPairs = {{0.0, 1.0, 1.0, 0.0}, {2.0, 5.0, 5.0, 0.0}};
    doc.m_nPairs = 2;
}

// Saves a data file of `pairs` pairs on Y = 2X + 1 (titles of the example), as the program
// would; returns its path.
inline std::string WriteLineFile(Ui& ui, SettingsStore& settings, const std::string& path,
                                 int pairs) {
    CLumetraDoc doc(ui, settings);
    FillExample(doc);
    doc.m_pPairs.clear();
    for (int k = 0; k < pairs; ++k)
        doc.m_pPairs.push_back({double(k), 2.0 * k + 1.0, 2.0 * k + 1.0, 0.0});
    doc.m_nPairs = pairs;
    EXPECT_TRUE(doc.OnSaveDocument(path));
    return path;
}

// y on x for x = 1 ... 5: y = 0.09 + 1.97x, SSE = 0.091, Sxx = 10, x̄ = 3.
inline const std::vector<CXYdata> kLinePairs = {{1, 2.0}, {2, 4.1}, {3, 5.9}, {4, 8.2}, {5, 9.8}};

// A new document of these pairs, for the model and order.
inline void FillPairs(CLumetraDoc& doc, std::vector<CXYdata> pairs, int type = 0, int order = 1) {
    doc.OnNewDocument();
    doc.m_pPairs = std::move(pairs);
    doc.m_nPairs = int(doc.m_pPairs.size());
    doc.m_nCurveType = type;
    doc.m_nOrder = order;
}

// The same, with the extremes a read would have found, as a plot reads them.
inline void FillPairsAndExtremes(CLumetraDoc& doc, std::vector<CXYdata> pairs, int type = 0) {
    FillPairs(doc, std::move(pairs), type);
    doc.ResetExtremes(doc.m_pPairs[0]);
    for (const CXYdata& p : doc.m_pPairs)
        doc.UpdateExtremes(p);
}

// Saves a data file of these pairs for the model and order as the program would, with 14
// decimals so that every digit of them is kept; returns its path.
inline std::string WritePairsFile(Ui& ui, SettingsStore& settings, const std::string& path,
                                  std::vector<CXYdata> pairs, int type, int order) {
    CLumetraDoc doc(ui, settings);
    FillPairs(doc, std::move(pairs), type, order);
    doc.m_nXDecimals = doc.m_nYDecimals = 14;
    doc.BuildFormats();
    EXPECT_TRUE(doc.OnSaveDocument(path));
    return path;
}

inline std::string Wide16(const std::string& number) {
    return number + std::string(16 - number.size(), ' ');
}

// Its data file, byte for byte.
inline std::string ExampleFileBytes() {
    return "@Test\r\nX\r\nY\r\n0\r\n1\r\n0.000000 1.000000\r\n0.000000 0.000000\r\n5 5 1 1\r\n" +
           Wide16("2.00000") + "\r\n" + Wide16("1.00000") + "\r\n" + Wide16("0.00000") + "\t" +
           Wide16("1.00000") + "\t" + Wide16("1.00000") + "\t" + Wide16("0.00000") + "\r\n" +
           Wide16("2.00000") + "\t" + Wide16("5.00000") + "\t" + Wide16("5.00000") + "\t" +
           Wide16("0.00000") + "\r\n";
}

// A header for hand-made files: lines 1 to 8 and the coefficient lines, CR LF ended.
inline std::string Header(const std::string& order = "1", const std::string& type = "0",
                          const std::string& display = "5 5 1 1", int coefLines = 2) {
    std::string h = "@T\r\nX\r\nY\r\n" + type + "\r\n" + order +
                    "\r\n0.000000 0.000000\r\n0.000000 0.000000\r\n" + display + "\r\n";
    for (int i = 0; i < coefLines; ++i)
        h += "1.0\r\n";
    return h;
}

} // namespace lumetra::test
