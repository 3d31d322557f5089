#pragma once

#include "fit/Influence.h"
#include "stats/PredictionTable.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace lumetra {

class CLumetraDoc;
class InfluenceModel;

// The Statistics window's page of each pair's influence on the fit: the Durbin–Watson line and
// the cut-offs above a table of every pair (or the flagged ones only), flagged rows marked, and
// excluded pairs greyed without measures, which its buttons take out of the fit or back in. The
// rows are formatted as they are shown, so a million pairs cost what the window shows.
class CInfluencePage : public QWidget {
    Q_OBJECT
public:
    CInfluencePage();
    ~CInfluencePage() override;

    // Shows the measures of the document's present fit.
    void Show(const CLumetraDoc& doc);
    // The summary and the rows shown, as printed beside the statistics.
    std::vector<std::string> Lines() const;
    // TAB between cells, the header first.
    std::string TabText() const;

    // Exclude from Fit (true) and Include in Fit on the selected rows' pairs, by their index in
    // the document.
    void OnExclude(std::function<void(const std::vector<size_t>&, bool)> handler) {
        m_onExclude = std::move(handler);
    }

    // The parts of the page, for its tests.
    QPushButton* ExcludeButton() const { return m_exclude; }
    QPushButton* IncludeButton() const { return m_include; }
    QCheckBox* FlaggedOnly() const { return m_flaggedOnly; }
    QLabel* Summary() const { return m_summary; }
    QTableView* Table() const { return m_table; }

private:
    void ShowRows();
    void UpdateButtons();
    std::vector<size_t> SelectedPairs() const;
    TextTable Rows() const;

    const CLumetraDoc* m_doc = nullptr;
    std::shared_ptr<const InfluenceOutcome> m_outcome; // the document's, kept while shown
    QCheckBox* m_flaggedOnly = nullptr;
    QLabel* m_summary = nullptr;
    QTableView* m_table = nullptr;
    InfluenceModel* m_model = nullptr;
    QPushButton* m_exclude = nullptr;
    QPushButton* m_include = nullptr;
    std::function<void(const std::vector<size_t>&, bool)> m_onExclude;
};

} // namespace lumetra
