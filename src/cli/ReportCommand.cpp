#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "report/ReportBuilder.h"
#include "report/ReportText.h"

#include <ostream>

namespace lumetra::cli {

void PrintReportLines(const CLumetraDoc& doc, std::ostream& out) {
    out << ReportText(doc.m_pReportLines);
}

int RunReport(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    // As stored: reading a file does not fit.
    ReportBuilder report(file.doc, kReportLineLimit);
    report.BuildReport();
    PrintReportLines(file.doc, io.out);
    return kOk;
}

} // namespace lumetra::cli
