#pragma once

#include "fit/Calibration.h"
#include "fit/FitMethod.h"
#include "fit/Weights.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lumetra {
class CLumetraDoc;
}

namespace lumetra::cli {

struct CliDocument;

// Exit statuses of lumetra-cli.
inline constexpr int kOk = 0;
inline constexpr int kFailed =
    1; // the file was refused or the work failed; the message is on stderr
inline constexpr int kUsage = 2;

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// The words of a command line as the parser read and checked them (CommandLine); each command
// reads those it declares.
struct Arguments {
    std::string file;                // FILE or TEXTFILE
    std::vector<std::string> values; // VALUE, X... or Y..., as typed
    std::string out, save;
    int model = -1;    // the curve type code; -1: as stored
    std::string order; // as typed: the Curve page reads it
    std::optional<FitMethod> method;
    std::optional<WeightScheme> weights;
    bool absolute = false;       // the standard deviations are known in absolute terms
    std::optional<double> sigma; // predict, calibrate: the σ of a new observation
    std::optional<std::string> title, xtitle, ytitle;
    double level = kDefaultLevel;
    bool fullSize = true; // --zoom 100
    bool json = false, bands = false, residuals = false;
    bool logX = false, logY = false, readable = false;
    bool meanResponse = false;
    bool skipBadLines = false; // import: skip the lines that are not pairs rather than stop
    bool sigmaColumn = false;  // import: the third number of each line is the pair's σ
    bool flagged = false;      // influence: only the flagged pairs
    CalibrationInterval interval = CalibrationInterval::Inversion;
};

using Handler = int (*)(const Arguments& args, Streams io);

int RunCheck(const Arguments& args, Streams io);
int RunReport(const Arguments& args, Streams io);
int RunFit(const Arguments& args, Streams io);
int RunCompute(const Arguments& args, Streams io);
int RunImport(const Arguments& args, Streams io);
int RunPlot(const Arguments& args, Streams io);
int RunStats(const Arguments& args, Streams io);
int RunExport(const Arguments& args, Streams io);
int RunPredict(const Arguments& args, Streams io);
int RunCalibrate(const Arguments& args, Streams io);
int RunWeights(const Arguments& args, Streams io);
int RunInfluence(const Arguments& args, Streams io);

// The report's lines, one output line each, TABs kept.
void PrintReportLines(const CLumetraDoc& doc, std::ostream& out);

// Refits the data and settings as stored, by the method and weighting named or else the
// document's; returns the fit's result (0 when it failed, its messages shown).
int Refit(CLumetraDoc& doc, const Arguments& args);
// Whether the command line names a method or a weighting: a command that shows the stored fit
// refits then.
bool AsksForRefit(const Arguments& args);

// Puts the settings in as the Curve page takes them, fits as a window does when the sheet closes
// with a change, prints the report and saves when asked. Returns the exit status.
int FitPrintAndSave(CliDocument& file, const Arguments& fit, Streams io);

} // namespace lumetra::cli
