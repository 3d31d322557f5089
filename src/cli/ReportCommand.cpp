#include "cli/Commands.h"

#include "data/LumetraDoc.h"
#include "platform/ConsoleUi.h"
#include "platform/MemorySettingsStore.h"
#include "report/ReportBuilder.h"

#include <ostream>

namespace lumetra::cli {

int RunReport(const std::vector<std::string>& args, Streams io) {
    if (args.size() != 1) {
        io.err << "usage: lumetra-cli report FILE\n";
        return kUsage;
    }
    ConsoleUi ui(io.err);
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    if (!doc.OnOpenDocument(args[0]))
        return kFailed;
    const int messagesBefore = ui.MessageCount();
    // The whole report is one display page: nothing here is paged.
    ReportBuilder builder(doc, kReportLineLimit);
    builder.BuildReport();
    for (const std::string& line : doc.m_pReportLines)
        io.out << line << '\n';
    // A line lost for want of memory leaves the report incomplete.
    return ui.MessageCount() == messagesBefore ? kOk : kFailed;
}

} // namespace lumetra::cli
