#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "data/LumetraDoc.h"
#include "fit/CurveModels.h"
#include "stats/OrdersText.h"

#include <ostream>

namespace lumetra::cli {

int RunOrders(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    CLumetraDoc& doc = file.doc;
    if (args.model >= 0)
        doc.m_nCurveType = args.model;
    // The log-log offsets and the weighting belong to a fit by the method and weights named;
    // a model without an order is refused before any fit.
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    if (model && model->usesOrder)
        Refit(doc, args);
    const OrderTable table = DocumentOrderTable(doc);
    if (!table.failure.empty()) {
        io.err << table.failure << '\n';
        return kFailed;
    }
    if (args.json) {
        io.out << OrdersJson(doc, table) << '\n';
    } else {
        for (const std::string& line : OrdersLines(doc, table))
            io.out << line << '\n';
    }
    return kOk;
}

} // namespace lumetra::cli
