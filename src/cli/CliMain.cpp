#include "cli/Commands.h"

#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kUsageText =
    "usage: lumetra-cli COMMAND ARGS\n"
    "commands:\n"
    "  check FILE    read a data file and print what it holds\n"
    "  report FILE   print the report of a data file as stored\n"
    "  fit FILE [--model poly|loglog|semilogy|semilogx] [--order N] [--save OUT]\n"
    "                fit the data with these settings, print the report, save it\n"
    "  compute FILE VALUE\n"
    "                Y for an X (X for a Y with X=Ae^BY) on the stored fit\n"
    "  import TEXTFILE --save OUT [--title T] [--xtitle T] [--ytitle T] [--model M] [--order N]\n"
    "                read X/Y pairs from a text file, fit them, print the report, save them\n"
    "  plot FILE --out PICTURE.png|.svg|.pdf [--zoom 50|100]\n"
    "                draw the stored fit's plot into a picture (100 % unless asked)\n"
    "  export FILE --out TABLE.csv|.txt\n"
    "                write the stored fit's table as CSV, or its report as text\n";

} // namespace

int main(int argc, char** argv) {
    using namespace lumetra::cli;
    std::ios::sync_with_stdio(false);
    if (argc < 2) {
        std::cerr << kUsageText;
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
    if (command == "export")
        return RunExport(args, io);
    std::cerr << "lumetra-cli: unknown command '" << command << "'\n" << kUsageText;
    return kUsage;
}
