#include "cli/CliDocument.h"
#include "cli/FitArgs.h"

#include "data/NumberScan.h"
#include "fit/FitEngine.h"
#include "stats/PredictionTable.h"
#include "stats/PredictionText.h"

#include <cmath>
#include <ostream>

namespace lumetra::cli {
namespace {

constexpr const char* kPredictUsage = "usage: lumetra-cli predict FILE X... [--level L] [--json]\n";
constexpr const char* kCalibrateUsage =
    "usage: lumetra-cli calibrate FILE Y... [--level L] [--mean-response] "
    "[--interval inversion|wald] [--json]\n";

// What predict and calibrate share on their command lines.
struct ValueArgs {
    std::string file;
    std::vector<double> values;
    CalibrationRequest request;
    bool json = false;
};

// Reads the file, the values and the options; `calibrate` allows the calibration options. The
// status to end with when the words are not right, or kOk.
int ParseValueArgs(const std::vector<std::string>& args, bool calibrate, ValueArgs& out,
                   std::ostream& err) {
    const char* usage = calibrate ? kCalibrateUsage : kPredictUsage;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--level" && hasValue) {
            if (!ReadLevel(args[++i], out.request.level)) {
                err << kLevelMessage;
                return kUsage;
            }
        } else if (a == "--json") {
            out.json = true;
        } else if (calibrate && a == "--mean-response") {
            out.request.meanResponse = true;
        } else if (calibrate && a == "--interval" && hasValue &&
                   (args[i + 1] == "inversion" || args[i + 1] == "wald")) {
            out.request.interval =
                args[++i] == "wald" ? CalibrationInterval::Wald : CalibrationInterval::Inversion;
        } else if (a.rfind("--", 0) == 0) {
            err << usage;
            return kUsage;
        } else if (out.file.empty()) {
            out.file = a;
        } else {
            double value = 0.0;
            if (!ReadFiniteValue(a, value)) {
                err << "lumetra-cli: '" << a << "' is not a number\n";
                return kUsage;
            }
            out.values.push_back(value);
        }
    }
    if (out.file.empty() || out.values.empty()) {
        err << usage;
        return kUsage;
    }
    return kOk;
}

// Reads the file and refits it as stats does, so that the intervals belong to the statistics
// it prints; runs `answer` on the fitted curve.
template <class Answer> int WithCurve(const ValueArgs& args, Streams io, Answer answer) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    CLumetraDoc& doc = file.doc;
    doc.m_nPairs = int(doc.m_pPairs.size());
    CFitEngine(doc).RefitDocument();
    const CurveOutcome outcome = DocumentCurve(doc);
    if (!outcome.curve) {
        io.err << outcome.failure << '\n';
        return kFailed;
    }
    answer(*outcome.curve);
    return kOk;
}

void PrintLines(const std::vector<std::string>& lines, std::ostream& out) {
    for (const std::string& line : lines)
        out << line << '\n';
}

} // namespace

int RunPredict(const std::vector<std::string>& args, Streams io) {
    ValueArgs parsed;
    if (const int status = ParseValueArgs(args, false, parsed, io.err); status != kOk)
        return status;
    return WithCurve(parsed, io, [&](const FittedCurve& curve) {
        std::vector<Prediction> predictions;
        for (double x : parsed.values)
            predictions.push_back(Predict(curve, x, parsed.request.level));
        if (parsed.json)
            io.out << PredictionJson(curve, predictions) << '\n';
        else
            PrintLines(PredictionLines(curve, predictions, parsed.request.level), io.out);
    });
}

int RunCalibrate(const std::vector<std::string>& args, Streams io) {
    ValueArgs parsed;
    if (const int status = ParseValueArgs(args, true, parsed, io.err); status != kOk)
        return status;
    return WithCurve(parsed, io, [&](const FittedCurve& curve) {
        std::vector<Calibration> calibrations;
        for (double y : parsed.values)
            calibrations.push_back(Calibrate(curve, y, parsed.request));
        if (parsed.json)
            io.out << CalibrationJson(curve, calibrations, parsed.request) << '\n';
        else
            PrintLines(CalibrationLines(curve, calibrations, parsed.request), io.out);
    });
}

} // namespace lumetra::cli
