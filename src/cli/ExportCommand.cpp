#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "report/ReportBuilder.h"
#include "report/TableExport.h"
#include "report/TableFile.h"

#include <ostream>

namespace lumetra::cli {

int RunExport(const Arguments& args, Streams io) {
    const std::optional<TableFileFormat> format = TableFileFormatFor(args.out);
    if (!format) {
        io.err << TableSuffixMessage(args.out) << '\n';
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    // As stored: reading a file does not fit. The CSV table needs only the pairs.
    if (*format == TableFileFormat::Text) {
        const int said = file.ui.MessageCount();
        ReportBuilder report(file.doc, kReportLineLimit);
        report.BuildReport();
        // It said why it could not finish: a report cut short is not exported as if whole.
        if (file.ui.MessageCount() > said) {
            io.err << "The report could not be built whole; nothing was written to " << args.out
                   << ".\n";
            return kFailed;
        }
    }
    return ExportTable(file.doc, args.out, file.ui) ? kOk : kFailed;
}

} // namespace lumetra::cli
