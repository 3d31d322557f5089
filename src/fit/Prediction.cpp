#include "fit/Prediction.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "fit/FitWeights.h"

#include <boost/math/distributions/normal.hpp>

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
    c.weights = doc.m_eWeights;
    c.absolute = doc.m_eWeights != WeightScheme::None && doc.m_bSigmaAbsolute;
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
    if (curve.absolute)
        return boost::math::quantile(
            boost::math::complement(boost::math::normal(), (1.0 - level) / 2.0));
    return boost::math::quantile(
        boost::math::complement(boost::math::students_t(curve.dof), (1.0 - level) / 2.0));
}

double SigmaScale(const FittedCurve& curve) {
    return curve.absolute ? 1.0 : curve.s;
}

double NewObservationWeight(const FittedCurve& curve, double u) {
    // The bands ask at every sample of every paint: an unweighted fit needs no curve value.
    if (!curve.sigma && curve.weights == WeightScheme::None)
        return 1.0;
    const CurveModel& model = *curve.model;
    const FitState& state = *curve.state;
    const double output = OutputFromFitted(curve, double(state.Value(state.U(u))));
    const double slope = model.output.slope(output);
    if (curve.sigma)
        return slope * slope / (*curve.sigma * *curve.sigma);
    switch (curve.weights) {
    case WeightScheme::Sigma:
    case WeightScheme::Replicates:
        // No σ at an input between the standards: the mean weight, as calibration texts do.
        return double(curve.state->weightSum / (long double)curve.state->pairs);
    default: {
        const double input = InputFromFitted(curve, u);
        CXYdata pair;
        pair.m_dX = model.xFromY ? output : input;
        pair.m_dY = model.xFromY ? input : output;
        const FitWeights w = WeightsFor(model, curve.weights, {&pair, 1});
        return w.failure.empty() ? w.weights[0] : 0.0;
    }
    }
}

double NewObservationVariance(const FittedCurve& curve, double input) {
    const std::optional<double> u = FittedInput(curve, input);
    const double w = u ? NewObservationWeight(curve, *u) : 0.0;
    const double scale = SigmaScale(curve);
    return w > 0.0 ? scale * scale / w : std::numeric_limits<double>::infinity();
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
    // 1/w is exactly 1 for an unweighted fit: its intervals keep their bits.
    const double scale = SigmaScale(curve);
    const double weight = NewObservationWeight(curve, *u);
    const double seFitted = scale * std::sqrt(point.leverage);
    const double sePredicted = scale * std::sqrt(1.0 / weight + point.leverage);
    const double slope = curve.model->output.slope(*p.output);
    p.seMean = Finite(seFitted * std::fabs(slope));
    p.meanLow = Finite(OutputFromFitted(curve, point.v - t * seFitted));
    p.meanHigh = Finite(OutputFromFitted(curve, point.v + t * seFitted));
    if (weight > 0.0) {
        p.predLow = Finite(OutputFromFitted(curve, point.v - t * sePredicted));
        p.predHigh = Finite(OutputFromFitted(curve, point.v + t * sePredicted));
    } else {
        p.message = FormatC("Weights %s give a new observation at %s = %g no weight: there is no "
                            "prediction interval.",
                            {WeightSchemeCaption(curve.weights), InputName(curve), input});
    }
    return p;
}

} // namespace lumetra
