#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "data/LumetraDoc.h"
#include "report/ReportBuilder.h"
#include "report/ReportText.h"

#include <ostream>

namespace lumetra::cli {

void PrintReportLines(const CLumetraDoc& doc, std::ostream& out) {
    out << ReportText(doc.m_pReportLines);
}

int RunReport(const std::vector<std::string>& args, Streams io) {
    if (args.size() != 1) {
        io.err << "usage: lumetra-cli report FILE\n";
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(args[0]))
        return kFailed;
    CLumetraDoc& doc = file.doc;
    // As stored: reading a file does not fit.
    ReportBuilder report(doc, kReportLineLimit);
    report.BuildReport();
    PrintReportLines(doc, io.out);
    return kOk;
}

} // namespace lumetra::cli
