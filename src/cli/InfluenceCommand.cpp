#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "stats/InfluenceText.h"

#include <ostream>

namespace lumetra::cli {

int RunInfluence(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    Refit(file.doc, args);
    const InfluenceOutcome outcome = DocumentInfluence(file.doc);
    if (!outcome.table) {
        io.err << outcome.failure << '\n';
        return kFailed;
    }
    if (args.json) {
        io.out << InfluenceJson(file.doc, *outcome.table, args.flagged) << '\n';
        return kOk;
    }
    for (const std::string& line : InfluenceLines(file.doc, outcome, args.flagged))
        io.out << line << '\n';
    return kOk;
}

} // namespace lumetra::cli
