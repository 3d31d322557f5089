#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "stats/LimitsText.h"
#include "stats/PredictionTable.h"
#include "stats/PredictionText.h"

#include <ostream>

namespace lumetra::cli {
namespace {

// Reads the file and refits it as stats does, so that the intervals belong to the statistics
// it prints; runs `answer` on the fitted curve and returns its exit status.
template <class Answer> int WithCurve(const Arguments& args, Streams io, Answer answer) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    Refit(file.doc, args);
    CurveOutcome outcome = DocumentCurve(file.doc);
    if (!outcome.curve) {
        io.err << outcome.failure << '\n';
        return kFailed;
    }
    if (args.sigma && outcome.curve->weights == WeightScheme::None) {
        io.err << "lumetra-cli: --sigma gives the standard deviation of a new observation of a "
                  "weighted fit; this fit is not weighted (see --weights)\n";
        return kUsage;
    }
    outcome.curve->sigma = args.sigma;
    return answer(*outcome.curve);
}

void PrintLines(const std::vector<std::string>& lines, std::ostream& out) {
    for (const std::string& line : lines)
        out << line << '\n';
}

// The values as numbers; the command line has checked that each is one.
std::vector<double> Numbers(const std::vector<std::string>& values) {
    std::vector<double> numbers(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        ReadFiniteValue(values[i], numbers[i]);
    return numbers;
}

} // namespace

int RunPredict(const Arguments& args, Streams io) {
    return WithCurve(args, io, [&](const FittedCurve& curve) {
        std::vector<Prediction> predictions;
        for (double x : Numbers(args.values))
            predictions.push_back(Predict(curve, x, args.level));
        if (args.json)
            io.out << PredictionJson(curve, predictions) << '\n';
        else
            PrintLines(PredictionLines(curve, predictions, args.level), io.out);
        return kOk;
    });
}

int RunCalibrate(const Arguments& args, Streams io) {
    const CalibrationRequest request{args.level, args.meanResponse, args.interval};
    return WithCurve(args, io, [&](const FittedCurve& curve) {
        std::vector<Calibration> calibrations;
        const std::vector<double> values = Numbers(args.values);
        if (args.oneSample)
            calibrations.push_back(CalibrateReadings(curve, values, request));
        else
            for (double y : values)
                calibrations.push_back(Calibrate(curve, y, request));
        if (args.json)
            io.out << CalibrationJson(curve, calibrations, request) << '\n';
        else
            PrintLines(CalibrationLines(curve, calibrations, request), io.out);
        return kOk;
    });
}

int RunLimits(const Arguments& args, Streams io) {
    return WithCurve(args, io, [&](const FittedCurve& curve) {
        const CalibrationLimits limits = ComputeLimits(curve, args.limits);
        if (!limits.failure.empty()) {
            io.err << limits.failure << '\n';
            return kFailed;
        }
        if (args.json)
            io.out << LimitsJson(limits) << '\n';
        else
            PrintLines(LimitsLines(limits), io.out);
        return kOk;
    });
}

} // namespace lumetra::cli
