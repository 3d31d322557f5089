#include "stats/PredictionText.h"

#include "data/NumberFormat.h"
#include "stats/JsonNumber.h"

#include <nlohmann/json.hpp>

#include <cctype>

namespace lumetra {
namespace {

using Json = nlohmann::ordered_json;

std::string Key(const char* name) {
    return std::string(1, char(std::tolower(static_cast<unsigned char>(name[0]))));
}

std::string Percent(double level) {
    return FormatC("%g %%", {level * 100.0});
}

} // namespace

std::string StatisticText(const Statistic& value) {
    return value ? FormatC("%.10g", {*value}) : std::string("n/a");
}

std::string PredictionJson(const FittedCurve& curve, const std::vector<Prediction>& predictions) {
    Json out = Json::array();
    for (const Prediction& p : predictions) {
        Json item;
        item[Key(InputName(curve))] = p.input;
        item[Key(OutputName(curve))] = JsonNumber(p.output);
        item["se_mean"] = JsonNumber(p.seMean);
        item["mean_low"] = JsonNumber(p.meanLow);
        item["mean_high"] = JsonNumber(p.meanHigh);
        item["pred_low"] = JsonNumber(p.predLow);
        item["pred_high"] = JsonNumber(p.predHigh);
        if (!p.message.empty())
            item["message"] = p.message;
        out.push_back(std::move(item));
    }
    return out.dump();
}

std::string CalibrationJson(const FittedCurve& curve, const std::vector<Calibration>& calibrations,
                            const CalibrationRequest& request) {
    Json out = Json::array();
    for (const Calibration& c : calibrations) {
        Json item;
        item[Key(OutputName(curve))] = c.observed;
        item["m"] = c.readings;
        Json estimates = Json::array();
        for (const CalibrationEstimate& e : c.estimates)
            estimates.push_back({{Key(InputName(curve)), e.input},
                                 {"lower", JsonNumber(e.lower)},
                                 {"upper", JsonNumber(e.upper)},
                                 {"interval", CalibrationIntervalWord(request.interval)}});
        item["estimates"] = std::move(estimates);
        if (!c.message.empty())
            item["message"] = c.message;
        out.push_back(std::move(item));
    }
    return out.dump();
}

std::vector<std::string> PredictionLines(const FittedCurve& curve,
                                         const std::vector<Prediction>& predictions, double level) {
    std::vector<std::string> lines;
    const std::string percent = Percent(level);
    for (const Prediction& p : predictions) {
        lines.push_back(FormatC("%s = %s: %s = %s, standard error of the mean %s", //
                                {InputName(curve), StatisticText(p.input), OutputName(curve),
                                 StatisticText(p.output), StatisticText(p.seMean)}));
        if (p.seMean) {
            lines.push_back(
                FormatC("    %s confidence interval of the mean: %s to %s",
                        {percent, StatisticText(p.meanLow), StatisticText(p.meanHigh)}));
            lines.push_back(
                FormatC("    %s prediction interval of a new observation: %s to %s",
                        {percent, StatisticText(p.predLow), StatisticText(p.predHigh)}));
        }
        if (!p.message.empty())
            lines.push_back("    " + p.message);
    }
    return lines;
}

std::vector<std::string> CalibrationLines(const FittedCurve& curve,
                                          const std::vector<Calibration>& calibrations,
                                          const CalibrationRequest& request) {
    std::vector<std::string> lines;
    const std::string interval = FormatC(
        "%s %s interval%s", {Percent(request.level), CalibrationIntervalWord(request.interval),
                             request.meanResponse ? " of a mean response" : ""});
    for (const Calibration& c : calibrations) {
        lines.push_back(c.readings > 1
                            ? FormatC("%s = %s, the mean of %d readings:",
                                      {OutputName(curve), StatisticText(c.observed), c.readings})
                            : FormatC("%s = %s:", {OutputName(curve), StatisticText(c.observed)}));
        for (const CalibrationEstimate& e : c.estimates)
            lines.push_back(FormatC("    %s = %s, %s %s to %s",
                                    {InputName(curve), StatisticText(e.input), interval,
                                     StatisticText(e.lower), StatisticText(e.upper)}));
        if (!c.message.empty())
            lines.push_back("    " + c.message);
    }
    return lines;
}

} // namespace lumetra
