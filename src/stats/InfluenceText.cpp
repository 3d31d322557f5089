#include "stats/InfluenceText.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "fit/CurveModels.h"
#include "stats/JsonNumber.h"

#include <nlohmann/json.hpp>

namespace lumetra {
namespace {

std::string Cell(const Statistic& value) {
    return value ? FormatC("%.8g", {*value}) : "n/a";
}

std::string FlagText(const PairInfluence& p) {
    if (p.outlier && p.influential)
        return "outlier, influential";
    return p.outlier ? "outlier" : p.influential ? "influential" : "";
}

const char* InputName(const CLumetraDoc& doc) {
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    return model ? model->inputName : "X";
}

} // namespace

std::vector<std::string> InfluenceHeader() {
    return {"Pair",        "X",        "Y",      "Leverage", "Standardized",
            "Studentized", "Cook's D", "DFFITS", "Flag"};
}

std::vector<InfluenceRowRef> InfluenceRowRefs(const CLumetraDoc& doc, const InfluenceTable& table,
                                              bool flaggedOnly) {
    std::vector<InfluenceRowRef> rows;
    auto measured = table.pairs.begin();
    for (size_t k = 0; k < doc.m_pPairs.size(); ++k) {
        if (doc.m_pPairs[k].m_bExcluded) {
            rows.push_back({k, nullptr});
            continue;
        }
        // The measured pairs are the included ones, in the same order.
        if (measured == table.pairs.end() || measured->pair != k)
            continue;
        if (!flaggedOnly || measured->Flagged())
            rows.push_back({k, &*measured});
        ++measured;
    }
    return rows;
}

std::vector<std::string> InfluenceRow(const CLumetraDoc& doc, const InfluenceRowRef& row) {
    const CXYdata& pair = doc.m_pPairs[row.pair];
    std::vector<std::string> cells = {FormatC("%d", {int(row.pair) + 1}),
                                      FormatC("%.8g", {pair.m_dX}), FormatC("%.8g", {pair.m_dY})};
    if (!row.measures) {
        cells.resize(InfluenceHeader().size() - 1);
        cells.push_back("excluded");
        return cells;
    }
    const PairInfluence& p = *row.measures;
    cells.insert(cells.end(), {Cell(p.leverage), Cell(p.standardized), Cell(p.studentized),
                               Cell(p.cooks), Cell(p.dffits), FlagText(p)});
    return cells;
}

TextTable InfluenceRows(const CLumetraDoc& doc, const InfluenceTable& table, bool flaggedOnly) {
    TextTable rows;
    rows.header = InfluenceHeader();
    for (const InfluenceRowRef& row : InfluenceRowRefs(doc, table, flaggedOnly))
        rows.rows.push_back(InfluenceRow(doc, row));
    return rows;
}

std::vector<std::string> InfluenceSummary(const CLumetraDoc& doc, const InfluenceOutcome& outcome) {
    if (!outcome.table)
        return {"         Influence: " + outcome.failure};
    const InfluenceTable& t = *outcome.table;
    std::vector<std::string> lines = {
        FormatC("         Influence of each pair: %d of %d flagged", {t.flagged, t.n}),
        FormatC("         Outlier: |studentized residual| above %s (t quantile at %g/(2*%d), "
                "%d degrees of freedom)",
                {Cell(t.studentizedCutoff), kOutlierAlpha, t.n, std::max(t.n - t.coefs - 1, 0)}),
        FormatC("         Influential: Cook's distance above %.8g (4/%d)", {t.cooksCutoff, t.n}),
        FormatC("         Durbin-Watson statistic (residuals ordered by %s): %s",
                {InputName(doc), Cell(t.durbinWatson)}),
    };
    for (const std::string& note : t.notes)
        lines.push_back("         " + note);
    return lines;
}

std::vector<std::string> InfluenceLines(const CLumetraDoc& doc, const InfluenceOutcome& outcome,
                                        bool flaggedOnly) {
    std::vector<std::string> lines = InfluenceSummary(doc, outcome);
    if (outcome.table)
        for (std::string& line : TableLines(InfluenceRows(doc, *outcome.table, flaggedOnly)))
            lines.push_back(std::move(line));
    return lines;
}

std::string InfluenceJson(const CLumetraDoc& doc, const InfluenceTable& table, bool flaggedOnly) {
    nlohmann::ordered_json pairs = nlohmann::ordered_json::array();
    for (size_t k = 0; k < table.pairs.size() && table.pairs[k].pair < doc.m_pPairs.size(); ++k) {
        const PairInfluence& p = table.pairs[k];
        if (flaggedOnly && !p.Flagged())
            continue;
        pairs.push_back({{"pair", p.pair + 1},
                         {"x", doc.m_pPairs[p.pair].m_dX},
                         {"y", doc.m_pPairs[p.pair].m_dY},
                         {"leverage", p.leverage},
                         {"standardized", JsonNumber(p.standardized)},
                         {"studentized", JsonNumber(p.studentized)},
                         {"cooks_distance", JsonNumber(p.cooks)},
                         {"dffits", JsonNumber(p.dffits)},
                         {"outlier", p.outlier},
                         {"influential", p.influential}});
    }
    const nlohmann::ordered_json out = {{"n", table.n},
                                        {"coefficients", table.coefs},
                                        {"flagged", table.flagged},
                                        {"studentized_cutoff", JsonNumber(table.studentizedCutoff)},
                                        {"cooks_cutoff", table.cooksCutoff},
                                        {"durbin_watson", JsonNumber(table.durbinWatson)},
                                        {"notes", table.notes},
                                        {"pairs", pairs}};
    return out.dump();
}

} // namespace lumetra
