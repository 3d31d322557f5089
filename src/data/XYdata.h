#pragma once

#include <string>

namespace lumetra {

class CLumetraDoc;

// One data pair, and at the same time its row of the fit table.
struct CXYdata {
    double m_dX = 0.0;
    double m_dY = 0.0;
    double m_dComputed = 0.0;   // Y from X for curve types 0-2, X from Y for type 3
    double m_dDifference = 0.0; // measured minus computed, on the same axis
    // The standard deviation of the measured value (Y, or X for X=Ae^BY); 0: the pair has none.
    double m_dSigma = 0.0;
    // The fit leaves the pair out; it stays in the data set, the listing and the plot.
    bool m_bExcluded = false;

    // The Data page's list line: X and Y with the document's pair format.
    std::string FormatPair(const CLumetraDoc& doc) const;
    // Appends the data file line: the row format, the exact X and Y where the shown ones differ,
    // the standard deviation when the pair has one, the exclusion mark, and CR LF.
    void FormatFileLine(std::string& out, const CLumetraDoc& doc) const;
    // Appends the report row: the row format without line end.
    void FormatRow(std::string& out, const CLumetraDoc& doc) const;
    // False when any of the values is infinite or not a number.
    bool IsFinite() const;
    bool HasSigma() const { return m_dSigma != 0.0; }
};

} // namespace lumetra
