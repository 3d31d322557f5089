#include "cli/CliDocument.h"
#include "cli/Commands.h"
#include "cli/FitArgs.h"

#include "fit/Prediction.h"

#include "plot/PlotExport.h"
#include "plot/PlotFile.h"

#include <QGuiApplication>

#include <ostream>

namespace lumetra::cli {
namespace {

constexpr const char* kPlotUsage =
    "usage: lumetra-cli plot FILE --out PICTURE.png|.svg|.pdf [--zoom 50|100] [--bands] "
    "[--residuals] [--level L]\n";

} // namespace

int RunPlot(const std::vector<std::string>& args, Streams io) {
    std::string input, output;
    bool fullSize = true;
    PlotOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--out" && hasValue) {
            output = args[++i];
        } else if (a == "--zoom" && hasValue && (args[i + 1] == "50" || args[i + 1] == "100")) {
            fullSize = args[++i] == "100";
        } else if (a == "--bands") {
            options.confidenceBand = options.predictionBand = true;
        } else if (a == "--residuals") {
            options.residuals = true;
        } else if (a == "--level" && hasValue) {
            if (!ReadLevel(args[++i], options.level)) {
                io.err << kLevelMessage;
                return kUsage;
            }
        } else if (a.rfind("--", 0) != 0 && input.empty()) {
            input = a;
        } else {
            io.err << kPlotUsage;
            return kUsage;
        }
    }
    if (input.empty() || output.empty()) {
        io.err << kPlotUsage;
        return kUsage;
    }
    if (!PlotFileFormatFor(output)) {
        io.err << PlotSuffixMessage(output) << '\n';
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(input))
        return kFailed;
    // Fonts need a GUI application, and that one needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "lumetra-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    // A plot of a fit without intervals still has its pairs and curve; say why the bands are not.
    if (options.confidenceBand && !options.residuals) {
        const CurveOutcome curve = DocumentCurve(file.doc);
        if (!curve.curve)
            io.err << curve.failure << '\n';
        else if (curve.curve->dof < 1)
            io.err << NoDegreesOfFreedomText(*curve.curve) << '\n';
    }
    return ExportPlot(file.doc, fullSize, output, file.ui, options) ? kOk : kFailed;
}

} // namespace lumetra::cli
