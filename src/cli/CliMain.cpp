#include "cli/Commands.h"
#include "cli/RunToEnd.h"
#include "fit/CurveModels.h"

#include <iostream>
#include <string>
#include <string_view>

namespace {

// The usage text; the --model words of fit come from the curve model table.
constexpr std::string_view kUsageHead =
    "usage: lumetra-cli COMMAND ARGS\n"
    "commands:\n"
    "  check FILE    read a data file and print what it holds\n"
    "  report FILE   print the report of a data file as stored\n"
    "  fit FILE [--model ";
constexpr std::string_view kUsageTail =
    "] [--order N] [--method classic|accurate]\n"
    "           [--save OUT]\n"
    "                fit the data with these settings, print the report, save it\n"
    "  stats FILE [--method classic|accurate] [--level L] [--json]\n"
    "                fit the data as stored and print the fit's statistics (level 0.95 unless\n"
    "                asked), as text or as one JSON object\n"
    "  predict FILE X... [--level L] [--json]\n"
    "                Y for each X on the data's fit, with the standard error of the mean and the\n"
    "                confidence and prediction intervals (Y gives X with X=Ae^BY)\n"
    "  calibrate FILE Y... [--level L] [--mean-response] [--interval inversion|wald] [--json]\n"
    "                every X in the data's range where the fit takes each Y, with its interval\n"
    "                (X gives Y with X=Ae^BY)\n"
    "  compute FILE VALUE\n"
    "                Y for an X (X for a Y with X=Ae^BY) on the stored fit\n"
    "  import TEXTFILE --save OUT [--title T] [--xtitle T] [--ytitle T] [--model M] [--order N]\n"
    "                [--method classic|accurate]\n"
    "                read X/Y pairs from a text file, fit them, print the report, save them\n"
    "  plot FILE --out PICTURE.png|.svg|.pdf [--zoom 50|100] [--bands] [--residuals] [--level L]\n"
    "                draw the stored fit's plot into a picture (100 % unless asked), with its\n"
    "                confidence and prediction bands, or its residuals against X\n"
    "  export FILE --out TABLE.csv|.txt\n"
    "                write the stored fit's table as CSV, or its report as text\n";

std::string UsageText() {
    return std::string(kUsageHead) + lumetra::CurveModelCliNames() + std::string(kUsageTail);
}

int Dispatch(int argc, char** argv) {
    using namespace lumetra::cli;
    std::ios::sync_with_stdio(false);
    if (argc < 2) {
        std::cerr << UsageText();
        return kUsage;
    }
    const std::string_view command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    const Streams io{std::cout, std::cerr};
    if (command == "check")
        return RunCheck(args, io);
    if (command == "report")
        return RunReport(args, io);
    if (command == "fit")
        return RunFit(args, io);
    if (command == "compute")
        return RunCompute(args, io);
    if (command == "import")
        return RunImport(args, io);
    if (command == "plot")
        return RunPlot(args, io);
    if (command == "stats")
        return RunStats(args, io);
    if (command == "predict")
        return RunPredict(args, io);
    if (command == "calibrate")
        return RunCalibrate(args, io);
    if (command == "export")
        return RunExport(args, io);
    std::cerr << "lumetra-cli: unknown command '" << command << "'\n" << UsageText();
    return kUsage;
}

} // namespace

int main(int argc, char** argv) {
    return lumetra::cli::RunToEnd([&] { return Dispatch(argc, argv); });
}
