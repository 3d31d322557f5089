#pragma once

#include "fit/CalibrationLimits.h"

#include <string>
#include <vector>

namespace lumetra {

// The "Limits" section of the Statistics window, its print and `lumetra-cli limits`: the options,
// each limit with the quantile it takes, and the notes; a fit without limits gets the reason.
std::vector<std::string> LimitsLines(const CalibrationLimits& limits);

// The limits as one JSON object; a missing limit is null, a refusal {"failure": "..."}.
std::string LimitsJson(const CalibrationLimits& limits);

} // namespace lumetra
