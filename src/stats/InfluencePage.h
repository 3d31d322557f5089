#pragma once

#include "fit/Influence.h"
#include "stats/PredictionTable.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QTableView;

namespace lumetra {

class CLumetraDoc;
class InfluenceModel;
struct FitState;

// The Statistics window's page of each pair's influence on the fit: the Durbin–Watson line and
// the cut-offs above a table of every pair (or the flagged ones only), flagged rows marked. The
// rows are formatted as they are shown, so a million pairs cost what the window shows.
class CInfluencePage : public QWidget {
    Q_OBJECT
public:
    CInfluencePage();
    ~CInfluencePage() override;

    // Shows the measures of the document's present fit, which `fit` holds: measured once per fit.
    void Show(const CLumetraDoc& doc, const std::shared_ptr<const FitState>& fit);
    // The summary and the rows shown, as printed beside the statistics.
    std::vector<std::string> Lines() const;
    // TAB between cells, the header first.
    std::string TabText() const;

    // The parts of the page, for its tests.
    QCheckBox* FlaggedOnly() const { return m_flaggedOnly; }
    QLabel* Summary() const { return m_summary; }
    QTableView* Table() const { return m_table; }

private:
    void ShowRows();
    TextTable Rows() const;

    const CLumetraDoc* m_doc = nullptr;
    InfluenceOutcome m_outcome;
    std::shared_ptr<const FitState> m_measuredFit; // the fit m_outcome describes
    QCheckBox* m_flaggedOnly = nullptr;
    QLabel* m_summary = nullptr;
    QTableView* m_table = nullptr;
    InfluenceModel* m_model = nullptr;
};

} // namespace lumetra
