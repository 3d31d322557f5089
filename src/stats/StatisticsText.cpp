#include "stats/StatisticsText.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "fit/CurveModels.h"
#include "fit/FitWeights.h"
#include "stats/JsonNumber.h"

#include <nlohmann/json.hpp>

namespace lumetra {
namespace {

constexpr const char* kRule =
    "--------------------------------------------------------------------------------";

// One number in a 16-character column; "n/a" where the statistic has no value.
std::string Cell(const Statistic& value) {
    return value ? FormatC("%16.8E", {*value}) : FormatC("%16s", {"n/a"});
}

std::string Line(const char* label, const Statistic& value) {
    return FormatC("         %-34s%s", {label, Cell(value)});
}

const CurveModel& Model(int type) {
    // The statistics exist only for a fit, and only a known model is fitted.
    return *FindCurveModel(type);
}

// "b[1]*u^3 + b[2]*u^2 + b[3]*u + b[4]" for degree 3.
std::string CentredTerms(int degree) {
    std::string terms;
    for (int j = degree; j >= 0; --j) {
        terms += FormatC("b[%d]", {degree - j + 1});
        if (j > 1)
            terms += FormatC("*u^%d", {j});
        else if (j == 1)
            terms += "*u";
        if (j > 0)
            terms += " + ";
    }
    return terms;
}

void AddCentredLines(const CurveModel& model, const CentredEquation& e,
                     std::vector<std::string>& lines) {
    const int degree = int(e.coefficients.size()) - 1;
    lines.push_back("         The coefficients above lose digits to the offset of the data; the "
                    "same curve, centred:");
    lines.push_back(FormatC("         %s = %s where u = (%s - c)/h and:",
                            {model.fittedOutputName, CentredTerms(degree), model.fittedInputName}));
    lines.push_back(FormatC("         c = %.17g   h = %.17g", {e.centre, e.half}));
    for (int i = 0; i <= degree; ++i)
        lines.push_back(FormatC("         b[%d] = %s", {i + 1, Cell(e.coefficients[size_t(i)])}));
}

} // namespace

std::vector<std::string> StatisticsLines(const CLumetraDoc& doc, const StatisticsOutcome& outcome) {
    std::vector<std::string> lines = {
        kRule,
        FormatC("         Data Title:  %s", {doc.m_strDataTitle}),
        FormatC("         Data File:   %s", {doc.m_strFileName}),
        kRule,
    };
    if (!outcome.stats) {
        lines.push_back("         " + outcome.failure);
        return lines;
    }
    const FitStatistics& s = *outcome.stats;
    const bool semilog = !Model(s.curveType).usesOrder;
    lines.push_back(FormatC("         Curve Type:  %s", {Model(s.curveType).caption}));
    if (!semilog)
        lines.push_back(FormatC("         Curve Order: %d", {s.order}));
    lines.push_back(FormatC("         Method:      %s",
                            {s.method == FitMethod::Accurate ? "Accurate" : "Classic"}));
    if (s.weights != WeightScheme::None)
        lines.push_back("         Weighting:   " + WeightingText(doc));
    lines.push_back(std::string("         Fitted scale: ") + Model(s.curveType).fittedScale);
    lines.push_back(FormatC("         Pairs: %d   Degrees of freedom: %d   Confidence level: %g %%",
                            {s.n, s.dof, s.level * 100.0}));
    lines.push_back(kRule);
    lines.push_back(
        FormatC("%-10s%17s%17s%17s%17s%17s%17s",
                {"", "Estimate", "Std. Error", "t Value", "p Value",
                 FormatC("%g%% Low", {s.level * 100.0}), FormatC("%g%% High", {s.level * 100.0})}));
    for (const CoefficientStatistics& c : s.coefficients)
        lines.push_back(FormatC("%-10s %s %s %s %s %s %s",
                                {c.name, Cell(c.estimate), Cell(c.stdError), Cell(c.t), Cell(c.p),
                                 Cell(c.ciLow), Cell(c.ciHigh)}));
    lines.push_back(kRule);
    lines.push_back(Line("Residual standard deviation:", s.residualStdDev));
    lines.push_back(Line("Sum of squared residuals:", s.sse));
    lines.push_back(Line("Root mean square error:", s.rmse));
    lines.push_back(Line("R-squared:", s.rSquared));
    lines.push_back(Line("Adjusted R-squared:", s.adjRSquared));
    lines.push_back(Line("F statistic:", s.f));
    lines.push_back(Line("p value of F:", s.fP));
    if (s.weights != WeightScheme::None) {
        lines.push_back(Line("Chi-square:", s.chiSquare));
        lines.push_back(Line("Reduced chi-square:", s.reducedChiSquare));
        lines.push_back(Line("p value of chi-square:", s.chiSquareP));
        lines.push_back(Line("Effective number of pairs:", s.effectivePairs));
    }
    lines.push_back(Line("Condition number of the design:", s.conditionNumber));
    lines.push_back(s.classicDigits
                        ? FormatC("         %-34s%16.1f",
                                  {"Digits kept by the classic method:", *s.classicDigits})
                        : Line("Digits kept by the classic method:", std::nullopt));
    if (s.classicDigits && *s.classicDigits < kWarnDigits)
        lines.push_back(FormatC("         The classic coefficients, or the residual standard "
                                "deviation they give, keep fewer than %g digits.",
                                {kWarnDigits}));
    for (const std::string& note : s.notes)
        lines.push_back("         " + note);
    if (s.centred)
        AddCentredLines(Model(s.curveType), *s.centred, lines);
    lines.push_back(kRule);
    return lines;
}

std::string StatisticsJson(const FitStatistics& s) {
    nlohmann::ordered_json coefficients = nlohmann::ordered_json::array();
    for (const CoefficientStatistics& c : s.coefficients)
        coefficients.push_back({{"name", c.name},
                                {"estimate", c.estimate},
                                {"std_error", JsonNumber(c.stdError)},
                                {"t", JsonNumber(c.t)},
                                {"p", JsonNumber(c.p)},
                                {"ci_low", JsonNumber(c.ciLow)},
                                {"ci_high", JsonNumber(c.ciHigh)}});
    nlohmann::ordered_json out = {
        {"model", Model(s.curveType).cliName},
        {"order", s.order},
        {"method", std::string(FitMethodWord(s.method))},
        {"n", s.n},
        {"dof", s.dof},
        {"level", s.level},
        {"coefficients", coefficients},
        {"residual_std_dev", JsonNumber(s.residualStdDev)},
        {"sse", s.sse},
        {"rmse", s.rmse},
        {"r_squared", s.rSquared},
        {"adj_r_squared", JsonNumber(s.adjRSquared)},
        {"f", JsonNumber(s.f)},
        {"f_p", JsonNumber(s.fP)},
        {"condition_number", JsonNumber(s.conditionNumber)},
        {"classic_digits", JsonNumber(s.classicDigits)},
        {"notes", s.notes},
        {"centred", nullptr},
    };
    if (s.weights != WeightScheme::None) {
        out["weights"] = std::string(WeightSchemeWord(s.weights));
        out["absolute"] = s.absolute;
        out["chi_square"] = JsonNumber(s.chiSquare);
        out["reduced_chi_square"] = JsonNumber(s.reducedChiSquare);
        out["chi_square_p"] = JsonNumber(s.chiSquareP);
        out["effective_pairs"] = s.effectivePairs;
        out["weighted_residuals"] = s.pearsonResiduals;
    }
    if (s.centred)
        out["centred"] = {{"centre", s.centred->centre},
                          {"half", s.centred->half},
                          {"coefficients", s.centred->coefficients}};
    return out.dump(2);
}

} // namespace lumetra
