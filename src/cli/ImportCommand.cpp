#include "cli/CliDocument.h"
#include "cli/FitArgs.h"

#include "dataentry/ImportFile.h"
#include "fit/CurveModels.h"

#include <ostream>

namespace lumetra::cli {

namespace {
std::string ImportUsage() {
    return "usage: lumetra-cli import TEXTFILE --save OUT [--title T] [--xtitle T] [--ytitle T] "
           "[--model " +
           CurveModelCliNames() + "] [--order N] [--method classic|accurate]\n";
}
} // namespace

int RunImport(const std::vector<std::string>& args, Streams io) {
    FitArgs fit;
    if (!ParseFitArgs(args, true, fit) || fit.save.empty()) {
        io.err << ImportUsage();
        return kUsage;
    }
    CliDocument file(io.err);
    file.doc.OnNewDocument();
    const ImportResult result = ImportFile(file.doc, file.ui, fit.file, nullptr, BadLines::Stop);
    if (result.imported == 0) {
        io.err << "No X/Y pairs were imported from " << fit.file << "; nothing saved.\n";
        return kFailed;
    }
    return FitPrintAndSave(file, fit, io);
}

} // namespace lumetra::cli
