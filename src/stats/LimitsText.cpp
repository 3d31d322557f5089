#include "stats/LimitsText.h"

#include "data/NumberFormat.h"
#include "stats/JsonNumber.h"
#include "stats/PredictionText.h"

#include <nlohmann/json.hpp>

namespace lumetra {
namespace {

std::string Row(const char* label, const Statistic& value, const std::string& how) {
    return FormatC("         %-34s%16s   %s", {label, StatisticText(value), how});
}

std::string Quantile(const CalibrationLimits& limits, double value, double probability) {
    return FormatC("t(%d, %g) = %.6g", {limits.dof, probability, value});
}

} // namespace

std::vector<std::string> LimitsLines(const CalibrationLimits& limits) {
    std::vector<std::string> lines = {
        "         Limits of the straight-line calibration (DIN 32645, ISO 11843-2):"};
    if (!limits.failure.empty()) {
        lines.push_back("         " + limits.failure);
        return lines;
    }
    const LimitsRequest& r = limits.request;
    lines.push_back(FormatC("         alpha = %g   beta = %g   k = %g   m = %d   "
                            "degrees of freedom n - 2 = %d",
                            {r.alpha, r.beta, r.k, r.replicates, limits.dof}));
    lines.push_back(Row("Critical value of Y", limits.criticalY,
                        Quantile(limits, limits.tAlpha, 1.0 - r.alpha)));
    lines.push_back(Row("Critical value of X", limits.criticalX, "where the line reaches it"));
    lines.push_back(
        Row("Detection limit", limits.detectionX, Quantile(limits, limits.tBeta, 1.0 - r.beta)));
    if (limits.detectionShortcut)
        lines.push_back(
            Row("Detection limit, shortcut", limits.detectionShortcut, "2 x critical value of X"));
    lines.push_back(Row("Quantification limit", limits.quantificationX,
                        Quantile(limits, limits.tQuantification, 1.0 - r.alpha / 2.0) +
                            FormatC(", k = %g", {r.k})));
    for (const std::string& note : limits.notes)
        lines.push_back("         " + note);
    return lines;
}

std::string LimitsJson(const CalibrationLimits& limits) {
    nlohmann::ordered_json out;
    if (!limits.failure.empty()) {
        out["failure"] = limits.failure;
        return out.dump();
    }
    const LimitsRequest& r = limits.request;
    out["alpha"] = r.alpha;
    out["beta"] = r.beta;
    out["k"] = r.k;
    out["m"] = r.replicates;
    out["n"] = limits.n;
    out["dof"] = limits.dof;
    out["slope"] = limits.slope;
    out["t_alpha"] = limits.tAlpha;
    out["t_beta"] = limits.tBeta;
    out["t_quantification"] = limits.tQuantification;
    out["critical_y"] = limits.criticalY;
    out["critical_x"] = limits.criticalX;
    out["detection_x"] = JsonNumber(limits.detectionX);
    out["detection_shortcut_x"] = JsonNumber(limits.detectionShortcut);
    out["quantification_x"] = JsonNumber(limits.quantificationX);
    out["notes"] = limits.notes;
    return out.dump();
}

} // namespace lumetra
