#pragma once

#include "fit/Influence.h"
#include "stats/PredictionTable.h"

#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;

// A row of the influence table: the pair's index in the document and its measures, none for a
// pair excluded from the fit.
struct InfluenceRowRef {
    size_t pair = 0;
    const PairInfluence* measures = nullptr;
};

// The rows in pair order: every fitted pair (or the flagged ones only) and every excluded one,
// which the table shows so that it can be taken back into the fit.
std::vector<InfluenceRowRef> InfluenceRowRefs(const CLumetraDoc& doc, const InfluenceTable& table,
                                              bool flaggedOnly);

// The influence table of the Statistics window, its print and `lumetra-cli influence`: one row
// per pair of InfluenceRowRefs with the pair's number, X and Y, its measures and its flags in
// words, "excluded" for an excluded pair.
TextTable InfluenceRows(const CLumetraDoc& doc, const InfluenceTable& table, bool flaggedOnly);
// The table's header, and the cells of one row: a window of a million pairs formats only the
// rows it shows.
std::vector<std::string> InfluenceHeader();
std::vector<std::string> InfluenceRow(const CLumetraDoc& doc, const InfluenceRowRef& row);

// The lines above the table: the Durbin–Watson statistic, the cut-offs, how many pairs are
// flagged, and why a measure is missing. A document without measures gets the reason.
std::vector<std::string> InfluenceSummary(const CLumetraDoc& doc, const InfluenceOutcome& outcome);

// The summary and the table padded to columns, as printed and as lumetra-cli writes them.
std::vector<std::string> InfluenceLines(const CLumetraDoc& doc, const InfluenceOutcome& outcome,
                                        bool flaggedOnly);

// The measures as one JSON object; a measure that does not exist is null.
std::string InfluenceJson(const CLumetraDoc& doc, const InfluenceTable& table, bool flaggedOnly);

} // namespace lumetra
