#pragma once

#include "data/LumetraDoc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lumetra::test {

// The described drawing of a few data sets, as the program drew it before readable and log axes,
// the legend and the drawing by resolution were added: the files in tests/data/plot were written
// by that program (LUMETRA_WRITE_PLOT_GOLDEN=1 writes them anew) and every later drawing of these
// cases must match them byte for byte.
struct PlotGoldenCase {
    const char* name;
    bool fullSize;
    void (*fill)(CLumetraDoc& doc);
    bool hashed; // large: its operations are kept as a hash and a count
};

inline void FillPontius(CLumetraDoc& doc) {
    ASSERT_TRUE(doc.OnOpenDocument(LUMETRA_SOURCE_DIR "/samples/pontius.dat"));
}

// 2000 pairs about Y = X² / 2 with a ripple: the smallest markers, one curve sample a pair.
inline void FillDense(CLumetraDoc& doc) {
    doc.OnNewDocument();
    doc.m_strDataTitle = "Dense";
    doc.m_nOrder = 2;
    doc.m_dCoef[0] = 0.5;
    doc.m_pPairs.clear();
    for (int k = 0; k < 2000; ++k) {
        const double x = -10.0 + 20.0 * k / 1999.0;
        doc.m_pPairs.push_back({x, 0.5 * x * x + std::sin(37.0 * k)});
    }
    doc.m_nPairs = 2000;
    doc.ResetExtremes(doc.m_pPairs[0]);
    for (const CXYdata& p : doc.m_pPairs)
        doc.UpdateExtremes(p);
}

// X = 2 e^(0.5 Y), sampled along Y.
inline void FillSemilogX(CLumetraDoc& doc) {
    doc.OnNewDocument();
    doc.m_strDataTitle = "Semilog";
    doc.m_nCurveType = 3;
    doc.m_dCoef[0] = 2.0;
    doc.m_dCoef[1] = 0.5;
    doc.m_pPairs.clear();
    for (int k = 0; k < 12; ++k)
        doc.m_pPairs.push_back({2.0 * std::exp(0.5 * k) * (1.0 + 0.01 * (k % 3)), double(k)});
    doc.m_nPairs = 12;
    doc.ResetExtremes(doc.m_pPairs[0]);
    for (const CXYdata& p : doc.m_pPairs)
        doc.UpdateExtremes(p);
}

inline const std::vector<PlotGoldenCase>& PlotGoldenCases() {
    static const std::vector<PlotGoldenCase> cases = {
        {"pontius-100", true, FillPontius, false},
        {"pontius-50", false, FillPontius, false},
        {"dense-100", true, FillDense, true},
        {"semilogx-50", false, FillSemilogX, false},
    };
    return cases;
}

inline std::string PlotGoldenPath(const std::string& file) {
    return LUMETRA_SOURCE_DIR "/tests/data/plot/" + file;
}

inline bool WritingPlotGolden() {
    return std::getenv("LUMETRA_WRITE_PLOT_GOLDEN") != nullptr;
}

inline std::string ReadGoldenFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace lumetra::test
