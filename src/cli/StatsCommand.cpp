#include "cli/CliDocument.h"
#include "cli/FitArgs.h"

#include "fit/FitEngine.h"
#include "fit/FitStatistics.h"
#include "stats/StatisticsText.h"

#include <charconv>
#include <ostream>

namespace lumetra::cli {
namespace {

constexpr const char* kStatsUsage =
    "usage: lumetra-cli stats FILE [--method classic|accurate] [--level L] [--json]\n";

// A confidence level strictly between 0 and 1, written with "." whatever the locale.
bool ReadLevel(const std::string& text, double& level) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, level);
    return ec == std::errc() && ptr == end && level > 0.0 && level < 1.0;
}

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
                io.err << "lumetra-cli: the level must be a number between 0 and 1, such as "
                          "0.95\n";
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
