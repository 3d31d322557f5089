#pragma once

#include "framework/DocumentView.h"
#include "stats/PredictionTable.h"
#include "stats/WeightsComparison.h"

#include <QSplitter>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace lumetra {
class CInfluencePage;
}

namespace lumetra {

// The Statistics window: the statistics of its document's present fit as text, and below them a
// prediction and calibration table for the values the user types or pastes and, on a page beside
// it, each pair's influence; all refreshed after every fit, printed together, their text copyable.
class CStatisticsView : public QSplitter, public CDocumentView {
    Q_OBJECT
public:
    CStatisticsView(CAppHost& app, CLumetraDoc& doc);

    void OnUpdate(CView* sender, int hint) override;
    // Edit > Copy: the table where it has the focus, else the statistics' selection or all of them.
    bool CanCopyText() const override { return true; }
    std::string CopyText() const override;
    const char* ViewName() const override { return "Statistics"; }

    // Shows the statistics of the document's present fit, and the table of its curve.
    void Refresh();
    // Makes the table again from the values and choices in the window.
    void RefreshTable();
    // File > Print: the statistics and the table on the application's printer; true when printed.
    bool OnFilePrint();

    // The parts of the window, for its tests.
    QPlainTextEdit* StatisticsText() const { return m_text; }
    QComboBox* Direction() const { return m_direction; }
    QLineEdit* Level() const { return m_level; }
    QCheckBox* MeanResponse() const { return m_meanResponse; }
    QComboBox* Interval() const { return m_interval; }
    QLineEdit* NewSigma() const { return m_sigma; }
    QPlainTextEdit* Values() const { return m_values; }
    QTableWidget* Table() const { return m_table; }
    const TextTable& Results() const { return m_results; }
    CInfluencePage* Influence() const { return m_influence; }

private:
    QWidget* BuildTablePanel();
    void ShowTable();
    void CopyTable() const;

    QPlainTextEdit* m_text = nullptr;
    QComboBox* m_direction = nullptr;
    QLineEdit* m_level = nullptr;
    QCheckBox* m_meanResponse = nullptr;
    QComboBox* m_interval = nullptr;
    QLineEdit* m_sigma = nullptr;
    QPlainTextEdit* m_values = nullptr;
    QTableWidget* m_table = nullptr;
    CInfluencePage* m_influence = nullptr;
    CurveOutcome m_curve; // of the present fit, read once for every table made of it
    std::vector<WeightingResult> m_weightings;
    std::shared_ptr<const FitState> m_comparedFit; // the fit m_weightings were made for
    TextTable m_results;
};

} // namespace lumetra
