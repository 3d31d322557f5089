#include "options/ComputeRules.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "fit/ModelEval.h"
#include "platform/Ui.h"

#include <cmath>

namespace lumetra {

std::string FormatComputeResult(double value) {
    return value > 0.00001 ? FormatC("%16.5lf", {value}) : FormatC("%13.7E", {value});
}

bool ComputesYFromX(int curveType) {
    return curveType != 3;
}

ComputeOutcome ComputeY(Ui& ui, const CLumetraDoc& doc, std::string& input) {
    if (!CLumetraDoc::ValidateNumber(ui, input))
        return {};
    double x = TextToDouble(input);
    double y = 0.0;
    if (!EvalCurvePoint(doc, x, y)) {
        ui.MessageBox("X may not be <= 0.0!\nCan't compute Y from X (Log-Log)");
        return {};
    }
    return {true, FormatComputeResult(y)};
}

ComputeOutcome ComputeX(Ui& ui, const CLumetraDoc& doc, std::string& input) {
    if (input.empty())
        return {false, "", PageField::None};
    if (!CLumetraDoc::ValidateNumber(ui, input))
        return {};
    const double y = TextToDouble(input);
    return {true, FormatComputeResult(doc.m_dCoef[0] * std::exp(doc.m_dCoef[1] * y))};
}

} // namespace lumetra
