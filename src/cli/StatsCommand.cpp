#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "fit/FitStatistics.h"
#include "stats/LinearityText.h"
#include "stats/StatisticsText.h"

#include <ostream>

namespace lumetra::cli {

int RunStats(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    CLumetraDoc& doc = file.doc;
    // Statistics belong to a fit made by the method named, of the data and settings as stored.
    Refit(doc, args);
    const StatisticsOutcome outcome = DocumentStatistics(doc, args.level);
    if (!outcome.stats) {
        io.err << outcome.failure << '\n';
        return kFailed;
    }
    const Linearity linearity = DocumentLinearity(doc);
    if (args.json) {
        nlohmann::ordered_json json = nlohmann::ordered_json::parse(StatisticsJson(*outcome.stats));
        json["linearity"] = LinearityJson(linearity);
        io.out << json.dump(2) << '\n';
    } else {
        for (const std::string& line : StatisticsLines(doc, outcome))
            io.out << line << '\n';
        for (const std::string& line : LinearityLines(linearity))
            io.out << line << '\n';
    }
    return kOk;
}

} // namespace lumetra::cli
