#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "stats/WeightsComparison.h"

#include <ostream>

namespace lumetra::cli {

int RunWeights(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    // The log-log offsets belong to a fit: the data's own, whatever the file held. Unweighted, so
    // that a stored weighting these pairs refuse does not stop the others.
    file.doc.m_eWeights = WeightScheme::None;
    Refit(file.doc, args);
    const std::vector<WeightingResult> results = CompareWeightings(file.doc);
    if (results.empty()) {
        io.err << "The model's fitted scale holds no value for these data: no weighting can be "
                  "compared.\n";
        return kFailed;
    }
    for (const std::string& line : WeightingLines(file.doc, results))
        io.out << line << '\n';
    return kOk;
}

} // namespace lumetra::cli
