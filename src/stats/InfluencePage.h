#pragma once

#include "fit/Influence.h"
#include "stats/PredictionTable.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QTableWidget;

namespace lumetra {

class CLumetraDoc;

// The Statistics window's page of each pair's influence on the fit: the Durbin–Watson line and
// the cut-offs above a table of every pair (or the flagged ones only), flagged rows marked.
class CInfluencePage : public QWidget {
    Q_OBJECT
public:
    CInfluencePage();

    // Shows the measures of the document's present fit.
    void Show(const CLumetraDoc& doc);
    // The summary and the rows shown, as printed beside the statistics.
    std::vector<std::string> Lines() const;
    // TAB between cells, the header first.
    std::string TabText() const;

    // The parts of the page, for its tests.
    QCheckBox* FlaggedOnly() const { return m_flaggedOnly; }
    QLabel* Summary() const { return m_summary; }
    QTableWidget* Table() const { return m_table; }

private:
    void ShowRows();

    const CLumetraDoc* m_doc = nullptr;
    InfluenceOutcome m_outcome;
    TextTable m_rows;
    QCheckBox* m_flaggedOnly = nullptr;
    QLabel* m_summary = nullptr;
    QTableWidget* m_table = nullptr;
};

// The table's cells in the widget, numbers aligned on the right and the last column's words on
// the left.
void FillTableWidget(QTableWidget& widget, const TextTable& table);

} // namespace lumetra
