#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "report/ReportBuilder.h"
#include "report/TableExport.h"
#include "report/TableFile.h"

#include <ostream>

namespace lumetra::cli {
namespace {

constexpr const char* kExportUsage = "usage: lumetra-cli export FILE --out TABLE.csv|.txt\n";

} // namespace

int RunExport(const std::vector<std::string>& args, Streams io) {
    std::string input, output;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out" && i + 1 < args.size()) {
            output = args[++i];
        } else if (a.rfind("--", 0) != 0 && input.empty()) {
            input = a;
        } else {
            io.err << kExportUsage;
            return kUsage;
        }
    }
    if (input.empty() || output.empty()) {
        io.err << kExportUsage;
        return kUsage;
    }
    const std::optional<TableFileFormat> format = TableFileFormatFor(output);
    if (!format) {
        io.err << TableSuffixMessage(output) << '\n';
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(input))
        return kFailed;
    // As stored: reading a file does not fit. The CSV table needs only the pairs.
    if (*format == TableFileFormat::Text) {
        const int said = file.ui.MessageCount();
        ReportBuilder report(file.doc, kReportLineLimit);
        report.BuildReport();
        // It said why it could not finish: a report cut short is not exported as if whole.
        if (file.ui.MessageCount() > said) {
            io.err << "The report could not be built whole; nothing was written to " << output
                   << ".\n";
            return kFailed;
        }
    }
    return ExportTable(file.doc, output, file.ui) ? kOk : kFailed;
}

} // namespace lumetra::cli
