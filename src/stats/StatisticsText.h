#pragma once

#include "fit/FitStatistics.h"

#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;

// The text of the Statistics window, its print and `lumetra-cli stats`: a header naming the data
// and the fit, a table of the coefficients and the fit's summary, columns lined up in a fixed
// pitch font. A document without statistics gets the header and the reason.
std::vector<std::string> StatisticsLines(const CLumetraDoc& doc, const StatisticsOutcome& outcome);

// The statistics as one JSON object; numbers read back to the same double, and a statistic
// without a finite value is null.
std::string StatisticsJson(const FitStatistics& stats);

} // namespace lumetra
