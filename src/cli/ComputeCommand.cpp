#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "options/ComputeRules.h"

#include <ostream>

namespace lumetra::cli {

int RunCompute(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    CLumetraDoc& doc = file.doc;
    // The stored fit, unless a method is named: then that method's fit of the data as stored.
    if (AsksForRefit(args) && !Refit(doc, args))
        return kFailed;
    // The page the model offers: Y from X, or X from Y for X=Ae^BY.
    std::string input = args.values.front();
    const ComputeOutcome outcome = ComputesYFromX(doc.m_nCurveType) ? ComputeY(file.ui, doc, input)
                                                                    : ComputeX(file.ui, doc, input);
    if (!outcome.computed)
        return outcome.inputRefused ? kUsage : kFailed;
    io.out << outcome.result << '\n';
    return kOk;
}

} // namespace lumetra::cli
