#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "report/ReportBuilder.h"
#include "report/TableExport.h"
#include "report/TableFile.h"

#include <ostream>

namespace lumetra::cli {

int RunExport(const Arguments& args, Streams io) {
    if (!TableFileFormatFor(args.out)) {
        io.err << TableSuffixMessage(args.out) << '\n';
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    // As stored: reading a file does not fit.
    ReportBuilder report(file.doc, kReportLineLimit);
    report.BuildReport();
    return ExportTable(file.doc, args.out, file.ui) ? kOk : kFailed;
}

} // namespace lumetra::cli
