#include "stats/LinearityText.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "fit/CurveModels.h"
#include "fit/FitWeights.h"
#include "stats/JsonNumber.h"

namespace lumetra {
namespace {

constexpr const char* kIndent = "         ";

std::string Row(const std::string& label, const Statistic& value) {
    return FormatC("         %-34s%s",
                   {label, value ? FormatC("%16.8E", {*value}) : FormatC("%16s", {"n/a"})});
}

nlohmann::ordered_json Refusal(const std::string& refusal) {
    return refusal.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(refusal);
}

} // namespace

Linearity DocumentLinearity(const CLumetraDoc& doc) {
    Linearity out;
    const StateOutcome outcome = UsableFitState(doc);
    std::vector<double> t, v;
    if (!outcome.state || !FittedScaleValues(doc, t, v))
        return out;
    const FitWeights weights = DocumentWeights(doc);
    if (!weights.failure.empty())
        return out;
    const CurveModel& model = *FindCurveModel(doc.m_nCurveType);
    const FitState& state = *outcome.state;
    out.inputName = model.inputName;
    out.lackOfFit = TestLackOfFit(t, v, weights.weights, state, model.inputName);
    if (state.degree == 1)
        out.mandel = TestMandel(t, v, weights.weights, state, model.inputName);
    if (model.type != CurveType::Polynomial)
        out.scaleNote = FormatC("Tested in the fitted scale, %s on %s, where the curve is fitted "
                                "by least squares.",
                                {model.fittedOutputName, model.fittedInputName});
    return out;
}

std::vector<std::string> LinearityLines(const Linearity& linearity) {
    std::vector<std::string> lines;
    if (!linearity.lackOfFit)
        return lines;
    const LackOfFitTest& lof = *linearity.lackOfFit;
    lines.push_back(
        FormatC("         Lack of fit: %d pairs at %d distinct %s values, %d coefficients",
                {lof.n, lof.groups, linearity.inputName, lof.parameters}));
    if (lof.pureDof > 0) {
        lines.push_back(Row(FormatC("Pure error (%d df):", {lof.pureDof}), lof.pureError));
        if (lof.lackDof > 0)
            lines.push_back(Row(FormatC("Lack of fit (%d df):", {lof.lackDof}), lof.lackOfFit));
    }
    if (lof.refusal.empty()) {
        lines.push_back(Row("F statistic:", lof.f));
        lines.push_back(Row("p value of F:", lof.p));
    } else {
        lines.push_back(kIndent + lof.refusal);
    }
    if (linearity.mandel) {
        const MandelTest& m = *linearity.mandel;
        lines.push_back("         Mandel's test of the straight line against the quadratic:");
        if (m.quadraticSse)
            lines.push_back(Row(FormatC("SSE of the quadratic (%d df):", {m.dof}), m.quadraticSse));
        if (m.refusal.empty()) {
            lines.push_back(Row(FormatC("F statistic (1 and %d df):", {m.dof}), m.f));
            lines.push_back(Row("p value of F:", m.p));
        } else {
            lines.push_back(kIndent + m.refusal);
        }
    }
    if (!linearity.scaleNote.empty())
        lines.push_back(kIndent + linearity.scaleNote);
    lines.push_back(std::string(80, '-'));
    return lines;
}

nlohmann::ordered_json LinearityJson(const Linearity& linearity) {
    if (!linearity.lackOfFit)
        return nullptr;
    const LackOfFitTest& lof = *linearity.lackOfFit;
    nlohmann::ordered_json out = {
        {"lack_of_fit",
         {{"n", lof.n},
          {"groups", lof.groups},
          {"parameters", lof.parameters},
          {"pure_error", lof.pureDof > 0 ? JsonNumber(lof.pureError) : nullptr},
          {"pure_dof", lof.pureDof},
          {"lack_of_fit", lof.pureDof > 0 ? JsonNumber(lof.lackOfFit) : nullptr},
          {"lack_dof", lof.lackDof},
          {"f", JsonNumber(lof.f)},
          {"p", JsonNumber(lof.p)},
          {"refusal", Refusal(lof.refusal)}}},
        {"mandel", nullptr},
        {"scale_note", linearity.scaleNote.empty() ? nlohmann::ordered_json(nullptr)
                                                   : nlohmann::ordered_json(linearity.scaleNote)},
    };
    if (linearity.mandel) {
        const MandelTest& m = *linearity.mandel;
        out["mandel"] = {{"line_sse", m.lineSse}, {"quadratic_sse", JsonNumber(m.quadraticSse)},
                         {"dof", m.dof},          {"f", JsonNumber(m.f)},
                         {"p", JsonNumber(m.p)},  {"refusal", Refusal(m.refusal)}};
    }
    return out;
}

} // namespace lumetra
