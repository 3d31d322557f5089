#pragma once

#include "fit/Prediction.h"

namespace lumetra {

enum class CalibrationInterval { Inversion, Wald };
const char* CalibrationIntervalWord(CalibrationInterval kind); // "inversion", "wald"

struct CalibrationRequest {
    double level = kDefaultLevel;
    // The observation is a mean response (known without the scatter of one new observation).
    bool meanResponse = false;
    CalibrationInterval interval = CalibrationInterval::Inversion;
    // The observation is the mean of this many readings of one sample: a new observation's
    // scatter is divided by it.
    int replicates = 1;
};

// One input at which the curve takes the observed output, with its calibration interval; a bound
// the range of the data does not hold is missing.
struct CalibrationEstimate {
    double input = 0.0;
    Statistic lower, upper;
};

// Every input in the data's range where the curve takes the observed output, in increasing
// order. The inversion interval holds the inputs whose prediction interval (confidence interval
// for a mean response) contains the observation; the Wald interval is the estimate ± t times
// se(v)/|v'(u)| in the fitted scale. message answers in words where there is nothing to give or a
// bound is missing.
struct Calibration {
    double observed = 0.0;
    int readings = 1; // the readings observed is the mean of
    std::vector<CalibrationEstimate> estimates;
    std::string message;
};
Calibration Calibrate(const FittedCurve& curve, double observed, const CalibrationRequest& request);

// The calibration of m readings of one sample (m ≥ 1): from their mean, with the interval of a
// mean of m new observations.
Calibration CalibrateReadings(const FittedCurve& curve, const std::vector<double>& readings,
                              CalibrationRequest request);

} // namespace lumetra
