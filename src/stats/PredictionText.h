#pragma once

#include "fit/Calibration.h"

#include <string>
#include <vector>

namespace lumetra {

// A value of a prediction or calibration with enough digits to tell neighbouring values of an
// interval apart; "n/a" where it is missing.
std::string StatisticText(const Statistic& value);

// Predictions and calibrations as `lumetra-cli predict` and `calibrate` write them: one JSON
// array, numbers that read back to the same double, a missing value null; or lines of text, a
// missing value "n/a". The keys name the variables: for X=Ae^BY, "y" is given and "x" computed.
std::string PredictionJson(const FittedCurve& curve, const std::vector<Prediction>& predictions);
std::string CalibrationJson(const FittedCurve& curve, const std::vector<Calibration>& calibrations,
                            const CalibrationRequest& request);

std::vector<std::string> PredictionLines(const FittedCurve& curve,
                                         const std::vector<Prediction>& predictions, double level);
std::vector<std::string> CalibrationLines(const FittedCurve& curve,
                                          const std::vector<Calibration>& calibrations,
                                          const CalibrationRequest& request);

} // namespace lumetra
