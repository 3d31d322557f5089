#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "fit/Prediction.h"

#include "plot/PlotExport.h"
#include "plot/PlotFile.h"

#include <QGuiApplication>

#include <ostream>

namespace lumetra::cli {

int RunPlot(const Arguments& args, Streams io) {
    if (!PlotFileFormatFor(args.out)) {
        io.err << PlotSuffixMessage(args.out) << '\n';
        return kUsage;
    }
    PlotOptions options;
    options.confidenceBand = options.predictionBand = args.bands;
    options.residuals = args.residuals;
    options.level = args.level;
    options.logX = args.logX;
    options.logY = args.logY;
    options.readable = args.readable;
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    // The stored fit, unless a method or a weighting is named: then that fit of the data as stored.
    if (AsksForRefit(args) && !Refit(file.doc, args))
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
    return ExportPlot(file.doc, args.fullSize, args.out, file.ui, options) ? kOk : kFailed;
}

} // namespace lumetra::cli
