#include "cli/CliDocument.h"
#include "cli/FitArgs.h"

#include "fit/FitEngine.h"
#include "fit/FitStatistics.h"
#include "stats/StatisticsText.h"

#include <ostream>

namespace lumetra::cli {
namespace {

constexpr const char* kStatsUsage =
    "usage: lumetra-cli stats FILE [--method classic|accurate] [--level L] [--json]\n";

} // namespace

int RunStats(const std::vector<std::string>& args, Streams io) {
    std::string input;
    std::optional<FitMethod> method;
    double level = kDefaultLevel;
    bool json = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--method") {
            if (!ParseMethodArg(args, i, method)) {
                io.err << kStatsUsage;
                return kUsage;
            }
        } else if (a == "--level" && i + 1 < args.size()) {
            if (!ReadLevel(args[++i], level)) {
                io.err << kLevelMessage;
                return kUsage;
            }
        } else if (a == "--json") {
            json = true;
        } else if (a.rfind("--", 0) != 0 && input.empty()) {
            input = a;
        } else {
            io.err << kStatsUsage;
            return kUsage;
        }
    }
    if (input.empty()) {
        io.err << kStatsUsage;
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(input))
        return kFailed;
    CLumetraDoc& doc = file.doc;
    if (method)
        doc.m_eFitMethod = *method;
    // Statistics belong to a fit made by the method named, of the data and settings as stored.
    doc.m_nPairs = int(doc.m_pPairs.size());
    CFitEngine(doc).RefitDocument();
    const StatisticsOutcome outcome = DocumentStatistics(doc, level);
    if (!outcome.stats) {
        io.err << outcome.failure << '\n';
        return kFailed;
    }
    if (json) {
        io.out << StatisticsJson(*outcome.stats) << '\n';
    } else {
        for (const std::string& line : StatisticsLines(doc, outcome))
            io.out << line << '\n';
    }
    return kOk;
}

} // namespace lumetra::cli
