#include "options/ComputeRules.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "fit/CurveModels.h"
#include "fit/ModelEval.h"
#include "platform/Ui.h"

namespace lumetra {
namespace {

// The fitted curve at the entered value; where it has none, the model's message.
bool EvaluateEntered(Ui& ui, const CLumetraDoc& doc, double& x, double& y) {
    if (EvalCurvePoint(doc, x, y))
        return true;
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    if (model && model->noValueText)
        ui.MessageBox(model->noValueText);
    return false;
}

} // namespace

std::string FormatComputeResult(double value) {
    return value > 0.00001 ? FormatC("%16.5lf", {value}) : FormatC("%13.7E", {value});
}

bool ComputesYFromX(int curveType) {
    const CurveModel* model = FindCurveModel(curveType);
    return !model || !model->xFromY;
}

ComputeOutcome ComputeY(Ui& ui, const CLumetraDoc& doc, std::string& input) {
    if (!CLumetraDoc::ValidateNumber(ui, input))
        return {};
    double x = TextToDouble(input);
    double y = 0.0;
    if (!EvaluateEntered(ui, doc, x, y))
        return {};
    return {true, FormatComputeResult(y)};
}

ComputeOutcome ComputeX(Ui& ui, const CLumetraDoc& doc, std::string& input) {
    if (input.empty())
        return {false, "", PageField::None};
    if (!CLumetraDoc::ValidateNumber(ui, input))
        return {};
    double x = 0.0;
    double y = TextToDouble(input);
    if (!EvaluateEntered(ui, doc, x, y))
        return {};
    return {true, FormatComputeResult(x)};
}

} // namespace lumetra
