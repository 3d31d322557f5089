#pragma once

#include "fit/Prediction.h"

#include <string>
#include <vector>

namespace lumetra {

// The error probabilities of the decision (α) and of a missed detection (β), the factor k of the
// quantification limit, and the number of readings m of a sample.
struct LimitsRequest {
    double alpha = 0.05;
    double beta = 0.05;
    double k = 3.0;
    int replicates = 1;
};

// Why the options give no limits; empty when they are usable.
std::string LimitsOptionsError(const LimitsRequest& request);

// The limits of a straight-line calibration by the calibration-curve method (DIN 32645,
// ISO 11843-2), from the fit state, with the variance of a new observation the fit's weighting
// gives at each X. A fit they do not apply to has only `failure`; a limit the line does not reach
// is missing, and `notes` say why.
struct CalibrationLimits {
    std::string failure;
    LimitsRequest request;
    int n = 0, dof = 0;
    double slope = 0.0;
    double tAlpha = 0.0, tBeta = 0.0, tQuantification = 0.0; // the quantiles used
    double criticalY = 0.0; // the upper one-sided (1 − α) prediction limit at X = 0
    double criticalX = 0.0; // where the line reaches criticalY
    Statistic detectionX;   // where the lower one-sided (1 − β) prediction limit is criticalY
    Statistic detectionShortcut; // 2·criticalX, when α = β
    Statistic quantificationX;   // L = k times the calibration interval's half-width at L
    std::vector<std::string> notes;
};
CalibrationLimits ComputeLimits(const FittedCurve& curve, const LimitsRequest& request);

} // namespace lumetra
