#include "stats/PredictionTable.h"

#include "data/NumberFormat.h"
#include "data/NumberScan.h"
#include "stats/PredictionText.h"

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

bool IsSeparator(char c) {
    return IsCSpace(c) || c == ';';
}

std::string NotANumber(const std::string& token) {
    return "\"" + token + "\" is not a number.";
}

std::string WithLevel(const char* heading, double level) {
    return FormatC("%s %g %%", {heading, level * 100.0});
}

void AddPredictionRows(const FittedCurve& curve, const std::string& token, double level,
                       TextTable& table) {
    double value = 0.0;
    if (!ReadFiniteValue(token, value)) {
        table.rows.push_back({token, "", "", "", "", "", "", NotANumber(token)});
        return;
    }
    const Prediction p = Predict(curve, value, level);
    table.rows.push_back({StatisticText(p.input), StatisticText(p.output), StatisticText(p.seMean),
                          StatisticText(p.meanLow), StatisticText(p.meanHigh),
                          StatisticText(p.predLow), StatisticText(p.predHigh), p.message});
}

void AddCalibrationRows(const FittedCurve& curve, const std::vector<std::string>& sample,
                        const CalibrationRequest& request, TextTable& table) {
    std::vector<double> readings(sample.size());
    for (size_t i = 0; i < sample.size(); ++i)
        if (!ReadFiniteValue(sample[i], readings[i])) {
            table.rows.push_back({sample[i], "", "", "", "", NotANumber(sample[i])});
            return;
        }
    const Calibration c = CalibrateReadings(curve, readings, request);
    const std::string observed = StatisticText(c.observed), m = std::to_string(c.readings);
    if (c.estimates.empty()) {
        table.rows.push_back({observed, m, "", "", "", c.message});
        return;
    }
    // The words belong to the observation: they stand once, beside its first estimate.
    std::string note = c.message;
    for (const CalibrationEstimate& e : c.estimates) {
        table.rows.push_back({observed, m, StatisticText(e.input), StatisticText(e.lower),
                              StatisticText(e.upper), note});
        note.clear();
    }
}

} // namespace

bool ReadFiniteValue(std::string_view text, double& value) {
    const char* p = text.data();
    const char* end = p + text.size();
    if (!ScanDouble(p, end, value) || !std::isfinite(value))
        return false;
    while (p != end && IsCSpace(*p))
        ++p;
    return p == end;
}

bool ReadLevel(std::string_view text, double& level) {
    return ReadFiniteValue(text, level) && level > 0.0 && level < 1.0;
}

std::vector<std::string> SplitValues(std::string_view text) {
    std::vector<std::string> values;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i]))
            ++i;
        const size_t start = i;
        while (i < text.size() && !IsSeparator(text[i]))
            ++i;
        if (i > start)
            values.emplace_back(text.substr(start, i - start));
    }
    return values;
}

std::vector<std::vector<std::string>> SplitSamples(std::string_view text) {
    std::vector<std::vector<std::string>> samples;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::vector<std::string> values = SplitValues(text.substr(start, end - start));
        if (!values.empty())
            samples.push_back(std::move(values));
        start = end + 1;
    }
    return samples;
}

TextTable PredictionTable(const FittedCurve& curve,
                          const std::vector<std::vector<std::string>>& samples, bool calibrate,
                          const CalibrationRequest& request) {
    TextTable table;
    const std::string in = InputName(curve), out = OutputName(curve);
    if (calibrate) {
        const char* kind = request.interval == CalibrationInterval::Wald ? "Wald" : "Inversion";
        table.header = {out,
                        "m",
                        in,
                        WithLevel((std::string(kind) + " lower").c_str(), request.level),
                        WithLevel((std::string(kind) + " upper").c_str(), request.level),
                        "Note"};
        for (const std::vector<std::string>& sample : samples)
            AddCalibrationRows(curve, sample, request, table);
    } else {
        const double level = request.level;
        table.header = {in,
                        out,
                        "SE of mean",
                        WithLevel("Mean low", level),
                        WithLevel("Mean high", level),
                        WithLevel("Prediction low", level),
                        WithLevel("Prediction high", level),
                        "Note"};
        for (const std::vector<std::string>& sample : samples)
            for (const std::string& v : sample)
                AddPredictionRows(curve, v, level, table);
    }
    return table;
}

TextTable NoCurveTable(const std::string& reason) {
    return {{"Note"}, {{reason}}};
}

std::string TableTabText(const TextTable& table) {
    std::string text;
    auto add = [&](const std::vector<std::string>& row) {
        for (size_t i = 0; i < row.size(); ++i)
            text += (i ? "\t" : "") + row[i];
        text += '\n';
    };
    add(table.header);
    for (const std::vector<std::string>& row : table.rows)
        add(row);
    return text;
}

std::vector<std::string> TableLines(const TextTable& table) {
    std::vector<size_t> width(table.header.size(), 0);
    auto measure = [&](const std::vector<std::string>& row) {
        for (size_t i = 0; i < row.size() && i < width.size(); ++i)
            width[i] = std::max(width[i], row[i].size());
    };
    measure(table.header);
    for (const std::vector<std::string>& row : table.rows)
        measure(row);
    std::vector<std::string> lines;
    auto line = [&](const std::vector<std::string>& row) {
        std::string text;
        for (size_t i = 0; i < row.size() && i < width.size(); ++i) {
            text += row[i];
            if (i + 1 < row.size())
                text += std::string(width[i] - row[i].size() + 2, ' ');
        }
        lines.push_back(std::move(text));
    };
    line(table.header);
    for (const std::vector<std::string>& row : table.rows)
        line(row);
    return lines;
}

} // namespace lumetra
