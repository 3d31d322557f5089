#include "fit/Prediction.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"

#include <boost/math/distributions/students_t.hpp>

#include <cmath>

namespace lumetra {
namespace {

using LD = long double;

Statistic Finite(double value) {
    return std::isfinite(value) ? Statistic(value) : std::nullopt;
}

} // namespace

CurveOutcome DocumentCurve(const CLumetraDoc& doc) {
    if (doc.m_bFitFailed)
        return {std::nullopt, "The fit failed: there is no curve to read values from."};
    // Read from the state alone: a paint of the bands asks for it every time.
    const StateOutcome outcome = UsableFitState(doc);
    if (!outcome.state)
        return {std::nullopt, outcome.failure};
    FittedCurve c;
    c.model = FindCurveModel(doc.m_nCurveType); // UsableFitState has found it
    c.state = outcome.state;
    c.n = int(c.state->pairs);
    c.dof = c.n - c.state->Coefs();
    c.s = c.dof > 0 ? double(std::sqrt(c.state->sse / LD(c.dof))) : 0.0;
    c.inputOffset = c.model->xFromY ? doc.m_dYInt : doc.m_dXInt;
    c.outputOffset = c.model->xFromY ? doc.m_dXInt : doc.m_dYInt;
    c.low = c.model->xFromY ? doc.m_dMinY : doc.m_dMinX;
    c.high = c.model->xFromY ? doc.m_dMaxY : doc.m_dMaxX;
    return {std::move(c), ""};
}

const char* InputName(const FittedCurve& curve) {
    return curve.model->inputName;
}

const char* OutputName(const FittedCurve& curve) {
    return curve.model->outputName;
}

std::optional<double> FittedInput(const FittedCurve& curve, double input) {
    return curve.model->input.toFitted(input, curve.inputOffset);
}

std::optional<double> FittedOutput(const FittedCurve& curve, double output) {
    return curve.model->output.toFitted(output, curve.outputOffset);
}

double InputFromFitted(const FittedCurve& curve, double u) {
    return curve.model->input.fromFitted(u, curve.inputOffset);
}

double OutputFromFitted(const FittedCurve& curve, double v) {
    return curve.model->output.fromFitted(v, curve.outputOffset);
}

CurvePoint CurveAt(const FittedCurve& curve, double u) {
    const FitState& state = *curve.state;
    const LD centred = state.U(u);
    return {double(state.Value(centred)), double(state.Leverage(centred))};
}

double StudentQuantile(const FittedCurve& curve, double level) {
    return boost::math::quantile(
        boost::math::complement(boost::math::students_t(curve.dof), (1.0 - level) / 2.0));
}

std::string NoDegreesOfFreedomText(const FittedCurve& curve) {
    return FormatC("No degrees of freedom are left (%d pairs, %d coefficients): the fit gives no "
                   "intervals.",
                   {curve.n, curve.n - curve.dof});
}

Prediction Predict(const FittedCurve& curve, double input, double level) {
    Prediction p;
    p.input = input;
    const std::optional<double> u = FittedInput(curve, input);
    if (!u) {
        p.message =
            FormatC("The log-log curve has no value at X = %g: X must be above 0.", {input});
        return p;
    }
    const CurvePoint point = CurveAt(curve, *u);
    p.output = Finite(OutputFromFitted(curve, point.v));
    if (!p.output) {
        p.message = FormatC("The curve's %s at %s = %g is beyond the range of numbers.",
                            {OutputName(curve), InputName(curve), input});
        return p;
    }
    if (curve.dof < 1) {
        p.message = NoDegreesOfFreedomText(curve);
        return p;
    }
    const double t = StudentQuantile(curve, level);
    const double seFitted = curve.s * std::sqrt(point.leverage);
    const double sePredicted = curve.s * std::sqrt(1.0 + point.leverage);
    const double slope = curve.model->output.slope(*p.output);
    p.seMean = Finite(seFitted * std::fabs(slope));
    p.meanLow = Finite(OutputFromFitted(curve, point.v - t * seFitted));
    p.meanHigh = Finite(OutputFromFitted(curve, point.v + t * seFitted));
    p.predLow = Finite(OutputFromFitted(curve, point.v - t * sePredicted));
    p.predHigh = Finite(OutputFromFitted(curve, point.v + t * sePredicted));
    return p;
}

} // namespace lumetra
