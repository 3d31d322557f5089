#include "stats/OrdersText.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "fit/CurveModels.h"
#include "fit/FitWeights.h"
#include "stats/JsonNumber.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace lumetra {
namespace {

constexpr const char* kIndent = "         ";

const char* const kCriterionNames[kOrderCriteria] = {
    "Adjusted R-squared", "AIC", "AICc", "BIC", "F", "PRESS"};
const char* const kCriterionKeys[kOrderCriteria] = {"adj_r_squared", "aic", "aicc",
                                                    "bic",           "f",   "press"};

const CurveModel& Model(const CLumetraDoc& doc) {
    return *FindCurveModel(doc.m_nCurveType);
}

bool Best(const OrderTable& table, OrderCriterion c, int order) {
    return table.best[int(c)] == order;
}

// One number in a 14-character column and its mark: "n/a" without a value, "-inf" for minus
// infinity, "*" after the best.
std::string Cell(const Statistic& value, bool best = false) {
    std::string cell = !value               ? FormatC("%15s", {"n/a"})
                       : std::isinf(*value) ? FormatC("%15s", {*value < 0 ? "-inf" : "inf"})
                                            : FormatC(" %14.6E", {*value});
    return cell + (best ? "*" : " ");
}

// A table line without the blank mark column at its end.
std::string Trimmed(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string Heading(std::initializer_list<const char*> names) {
    std::string line = FormatC("%5s%8s%6s", {"Order", "n", "dof"});
    for (const char* name : names)
        line += FormatC("%15s ", {name});
    return Trimmed(line);
}

Statistic Aicc(const OrderRow& row) {
    return row.hasAicc ? Statistic(row.aicc) : std::nullopt;
}

// "AIC, AICc and BIC".
std::string Names(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

std::string PText(double p) {
    return p < 0.001 ? "p < 0.001" : FormatC("p = %.2g", {p});
}

// What keeps the orders above the table's out of it.
std::string LimitNote(const OrderTable& table, int n, const char* inputName) {
    if (table.highest >= kMaxOrder)
        return "";
    const int next = table.highest + 1;
    if (table.distinct - 1 == table.highest && table.distinct - 1 <= n - 2)
        return FormatC("Order %d and above need more distinct %s values than the data's %d.",
                       {next, inputName, table.distinct});
    if (n - 2 == table.highest)
        return FormatC("Order %d and above leave no degrees of freedom with %d pairs.", {next, n});
    return FormatC("Order %d and above: the design is singular in the scaled %s.",
                   {next, inputName});
}

std::string ZeroNote(const OrderTable& table) {
    for (const OrderRow& row : table.rows)
        if (row.sse == 0.0)
            return FormatC("From order %d on the residuals are all zero: AIC, AICc and BIC are "
                           "minus infinity (-inf).",
                           {row.order});
    return "";
}

std::vector<std::string> Notes(const CLumetraDoc& doc, const OrderTable& table) {
    std::vector<std::string> notes;
    const int n = table.rows.empty() ? 0 : table.rows.front().n;
    for (const std::string& note : {LimitNote(table, n, Model(doc).inputName), ZeroNote(table)})
        if (!note.empty())
            notes.push_back(note);
    return notes;
}

} // namespace

OrderTable DocumentOrderTable(const CLumetraDoc& doc) {
    OrderTable table;
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    if (!model) {
        table.failure = "The data set has no known curve model: there is no order table.";
        return table;
    }
    if (!model->usesOrder) {
        table.failure = FormatC("The order table is for the polynomial models; %s has no order.",
                                {model->caption});
        return table;
    }
    std::vector<double> t, v;
    if (!FittedScaleValues(doc, t, v)) {
        table.failure = "The model's fitted scale holds no value for these data: there is no "
                        "order table.";
        return table;
    }
    const FitWeights weights = DocumentWeights(doc);
    if (!weights.failure.empty()) {
        table.failure = weights.failure;
        return table;
    }
    return BuildOrderTable(t, v, weights.weights, model->inputName);
}

std::string OrderAdvice(const OrderTable& table) {
    // The information criteria and PRESS, grouped by the order each favours.
    const OrderCriterion criteria[] = {OrderCriterion::Aic, OrderCriterion::Aicc,
                                       OrderCriterion::Bic, OrderCriterion::Press};
    std::vector<std::pair<int, std::vector<std::string>>> groups;
    for (const OrderCriterion c : criteria) {
        const int order = table.best[int(c)];
        if (order == 0)
            continue;
        auto at = std::find_if(groups.begin(), groups.end(),
                               [order](const auto& g) { return g.first == order; });
        if (at == groups.end())
            at = groups.insert(groups.end(), {order, {}});
        at->second.push_back(kCriterionNames[int(c)]);
    }
    if (groups.empty())
        return "";
    std::string text;
    for (size_t i = 0; i < groups.size(); ++i) {
        const auto& [order, names] = groups[i];
        text += i == 0 ? FormatC("%s %s order %d",
                                 {Names(names), names.size() == 1 ? "favours" : "favour", order})
                       : FormatC(", %s order %d", {Names(names), order});
    }
    // The F test of the term above the order the first criterion favours.
    const int next = groups.front().first + 1;
    for (const OrderRow& row : table.rows)
        if (row.order == next && row.fP)
            text += FormatC("; the F test of order %d is %ssignificant (%s)",
                            {next, *row.fP < kOrderSignificance ? "" : "not ", PText(*row.fP)});
    return text + ".";
}

std::vector<std::string> OrdersLines(const CLumetraDoc& doc, const OrderTable& table) {
    const CurveModel& model = Model(doc);
    std::vector<std::string> lines = {"         Orders"};
    if (!table.failure.empty()) {
        lines.push_back(kIndent + table.failure);
        return lines;
    }
    const int n = table.rows.front().n;
    lines.push_back(
        FormatC("         Fitted scale: %s   Pairs: %d   Distinct %s values: %d%s",
                {model.fittedScale, n, model.inputName, std::min(table.distinct, kMaxOrder + 1),
                 table.distinct > kMaxOrder + 1 ? " or more" : ""}));
    lines.push_back(Heading({"SSE", "Residual SD", "R-squared", "Adj. R-sq.", "Condition"}));
    for (const OrderRow& r : table.rows)
        lines.push_back(
            Trimmed(FormatC("%5d%8d%6d", {r.order, r.n, r.dof}) + Cell(r.sse) + Cell(r.residualSd) +
                    Cell(r.rSquared) +
                    Cell(r.adjRSquared, Best(table, OrderCriterion::AdjRSquared, r.order)) +
                    Cell(r.condition)));
    lines.push_back(Heading({"AIC", "AICc", "BIC", "F", "p of F", "PRESS", "PRESS RMSE"}));
    for (const OrderRow& r : table.rows)
        lines.push_back(Trimmed(FormatC("%5d%8d%6d", {r.order, r.n, r.dof}) +
                                Cell(r.aic, Best(table, OrderCriterion::Aic, r.order)) +
                                Cell(Aicc(r), Best(table, OrderCriterion::Aicc, r.order)) +
                                Cell(r.bic, Best(table, OrderCriterion::Bic, r.order)) + Cell(r.f) +
                                Cell(r.fP, Best(table, OrderCriterion::FTest, r.order)) +
                                Cell(r.press, Best(table, OrderCriterion::Press, r.order)) +
                                Cell(r.pressRmse)));
    lines.push_back("         * the best order: largest adjusted R-squared; smallest AIC, AICc, "
                    "BIC, PRESS;");
    lines.push_back(FormatC("           the highest order whose own term's F test has p below %g.",
                            {kOrderSignificance}));
    for (const std::string& note : Notes(doc, table))
        lines.push_back(kIndent + note);
    const std::string advice = OrderAdvice(table);
    if (!advice.empty())
        lines.push_back(kIndent + advice);
    return lines;
}

std::string OrdersJson(const CLumetraDoc& doc, const OrderTable& table) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const OrderRow& r : table.rows)
        rows.push_back({{"order", r.order},
                        {"n", r.n},
                        {"dof", r.dof},
                        {"sse", r.sse},
                        {"residual_sd", JsonNumber(r.residualSd)},
                        {"r_squared", JsonNumber(r.rSquared)},
                        {"adj_r_squared", JsonNumber(r.adjRSquared)},
                        {"aic", JsonNumber(r.aic)},
                        {"aicc", JsonNumber(Aicc(r))},
                        {"bic", JsonNumber(r.bic)},
                        {"f", JsonNumber(r.f)},
                        {"f_p", JsonNumber(r.fP)},
                        {"press", JsonNumber(r.press)},
                        {"press_rmse", JsonNumber(r.pressRmse)},
                        {"condition_number", JsonNumber(r.condition)}});
    nlohmann::ordered_json best = nlohmann::ordered_json::object();
    for (int c = 0; c < kOrderCriteria; ++c)
        best[kCriterionKeys[c]] =
            table.best[c] ? nlohmann::ordered_json(table.best[c]) : nlohmann::ordered_json(nullptr);
    const nlohmann::ordered_json out = {
        {"model", Model(doc).cliName},
        {"weights", std::string(WeightSchemeWord(doc.m_eWeights))},
        {"distinct", table.distinct},
        {"highest_order", table.highest},
        {"rows", rows},
        {"best", best},
        {"notes", Notes(doc, table)},
        {"advice", OrderAdvice(table)},
    };
    return out.dump(2);
}

} // namespace lumetra
