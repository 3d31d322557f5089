#include "options/ComputeRules.h"

#include "data/EnteredNumber.h"
#include "data/LumetraDoc.h"
#include "fit/CurveModels.h"
#include "fit/ModelEval.h"
#include "platform/Ui.h"

#include <cmath>

namespace lumetra {
namespace {

// The fitted curve at the entered value: the other value, or where the curve has none, the
// model's message; a value beyond the range of numbers is said in words.
ComputeOutcome Evaluate(Ui& ui, const CLumetraDoc& doc, std::string& input, bool xFromY) {
    const std::optional<double> entered = ReadEnteredNumber(ui, input, xFromY ? "Y" : "X");
    if (!entered)
        return {false, true, {}};
    double x = xFromY ? 0.0 : *entered, y = xFromY ? *entered : 0.0;
    if (!EvalCurvePoint(doc, x, y)) {
        const CurveModel* model = FindCurveModel(doc.m_nCurveType);
        if (model && model->noValueText)
            ui.MessageBox(model->noValueText);
        return {};
    }
    const double result = xFromY ? x : y;
    if (!std::isfinite(result)) {
        ui.MessageBox(std::string("The curve's ") + (xFromY ? "X" : "Y") +
                      " there is beyond the range of numbers (about 1.8E+308)!");
        return {};
    }
    return {true, false, FormatComputeResult(result)};
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
    return Evaluate(ui, doc, input, false);
}

ComputeOutcome ComputeX(Ui& ui, const CLumetraDoc& doc, std::string& input) {
    return Evaluate(ui, doc, input, true);
}

} // namespace lumetra
