#pragma once

#include "fit/FitMethod.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

struct FitResult;
struct NormalEquations;

// The curve model of a data set. Its value is the integer the data file stores on line 4 and the
// index of the Curve page's radio button.
enum class CurveType { Polynomial = 0, LogLog = 1, SemilogY = 2, SemilogX = 3 };

// What a fitted curve is evaluated with: C[1] ... C[n+1] (C[1] for the highest power, or A and B
// of the semilog models), the order n and the log-log offsets.
struct CurveParams {
    const double* coef;
    int order;
    double xint;
    double yint;
};

// One side of a model's fitted scale: how a value (X or Y) is taken there and back, and the
// slope d(value)/d(fitted) at a value for the delta method. offset is the log-log XINT or YINT,
// which the other maps ignore. toFitted answers nothing where a logarithm has no value.
struct ScaleMap {
    std::optional<double> (*toFitted)(double value, double offset);
    double (*fromFitted)(double fitted, double offset);
    double (*slope)(double value);
};

// Everything the program knows about one curve model; every place that treats the models
// differently asks this table.
struct CurveModel {
    CurveType type;
    const char* caption;     // the report's and the summary's name
    const char* pageName;    // the Curve page's radio button
    const char* cliName;     // lumetra-cli's --model word
    bool xFromY;             // computes X from Y: its computed values and differences are X values
    bool usesOrder;          // false: it runs with order 1 and has the two coefficients A and B
    const char* refusalName; // in "**  Can't Fit %s Curve  **" when a logarithm has no value
    // The fit over the pairs (x[k], y[k]) with the fitted scale's weights w at this order, in the
    // given storage (ModelFits.h).
    FitResult (*fit)(std::span<const double> x, std::span<const double> y,
                     std::span<const double> w, int order, NormalEquations& work, FitMethod method);
    // The report's lines between "Fitted Curve:" and the coefficient lines.
    std::vector<std::string> (*equationLines)(const CurveParams& curve);
    // The curve at one point, as the plot and the Compute pages evaluate it (whole powers by
    // repeated squaring): from the known value (X, or Y when xFromY) to the other. False where
    // the curve has no value.
    bool (*evaluate)(const CurveParams& curve, double known, double& value);
    // What the Compute page says when evaluate finds no value (nullptr: it always finds one).
    const char* noValueText;
    // The scale the fit's statistics belong to, as the Statistics window names it.
    const char* fittedScale;
    // The variable the model computes from and the one it computes ("X" and "Y"; the other way
    // round for X=Ae^BY), and their names in the fitted scale.
    const char* inputName;
    const char* outputName;
    const char* fittedInputName;
    const char* fittedOutputName;
    ScaleMap input, output;
};

std::span<const CurveModel> CurveModels();

// The model of a stored curve type, or nullptr when no model has that code.
const CurveModel* FindCurveModel(int code);
// The model lumetra-cli names so, or nullptr.
const CurveModel* FindCurveModel(std::string_view cliName);

inline int CurveCode(const CurveModel& model) {
    return int(model.type);
}

// How many coefficients a fit of this model at this order has.
inline int CoefficientCount(const CurveModel& model, int order) {
    return model.usesOrder ? order + 1 : 2;
}

// The degree of the polynomial it fits in its fitted scale.
inline int FittedDegree(const CurveModel& model, int order) {
    return model.usesOrder ? order : 1;
}

// A pair's input and measured output (the model computes the output from the input).
inline double InputOf(const CurveModel& model, double x, double y) {
    return model.xFromY ? y : x;
}
inline double OutputOf(const CurveModel& model, double x, double y) {
    return model.xFromY ? x : y;
}

// The --model words in table order, joined by "|".
std::string CurveModelCliNames();

} // namespace lumetra
