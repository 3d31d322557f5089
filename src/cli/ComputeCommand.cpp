#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "data/LumetraDoc.h"
#include "options/ComputeRules.h"

#include <ostream>

namespace lumetra::cli {

int RunCompute(const std::vector<std::string>& args, Streams io) {
    if (args.size() != 2) {
        io.err << "usage: lumetra-cli compute FILE VALUE\n";
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(args[0]))
        return kFailed;
    CLumetraDoc& doc = file.doc;
    Ui& ui = file.ui;
    // The page the model offers: Y from X, or X from Y for X=Ae^BY.
    std::string input = args[1];
    const ComputeOutcome outcome =
        ComputesYFromX(doc.m_nCurveType) ? ComputeY(ui, doc, input) : ComputeX(ui, doc, input);
    if (!outcome.computed)
        return outcome.inputRefused ? kUsage : kFailed;
    io.out << outcome.result << '\n';
    return kOk;
}

} // namespace lumetra::cli
