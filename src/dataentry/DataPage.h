#pragma once

#include "dataentry/DataPageRules.h"
#include "options/OptionsSheet.h"

#include <functional>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;

namespace lumetra {

class CBitmapButton;
class DataListModel;

// The Data page of the Options sheet: the pairs of one page of the data set as list lines, the
// X and Y fields and the editing and paging buttons. What the page does is DataPageRules'; the
// page shows its texts and passes on the user's clicks.
class CData : public CPropertyPage, private DataListListener {
    Q_OBJECT
public:
    // backup: see DataPageRules.
    CData(CLumetraDoc& doc, Ui& ui, CMySheet& sheet, int pageSize,
          DocumentBackup* backup = nullptr);
    ~CData() override;

    void OnSetActive() override;
    bool OnKillActive() override;
    int HelpContext() const override { return 5004; }

    DataPageRules& Rules() { return m_rules; }
    // Imports a text file as the Import button does, without asking for it.
    void ImportFromFile(const std::string& path);
    // Ctrl+C and Ctrl+V on the list, also in its context menu.
    void OnCopyPairs();
    void OnPastePairs();
    // Asks for the page to go to (the Go-to dialog); tests answer it themselves.
    std::function<std::optional<int>(int current)> m_askPage;

    CBitmapButton *m_btnGoPage, *m_btnNextPage, *m_btnPrevPage;
    QProgressBar* m_progress;
    QPushButton *m_btnImport, *m_btnDelete, *m_btnEdit, *m_btnInsert, *m_btnUp, *m_btnDown,
        *m_btnAdd;
    QListView* m_list;
    QLineEdit *m_editX, *m_editY, *m_editSigma, *m_editPoints;
    QLabel *m_labelX, *m_labelY, *m_labelSigma, *m_labelPage;
    QCheckBox* m_checkSigma; // shows the column of standard deviations
    QAction *m_actCopy, *m_actPaste;

private:
    void OnListReset() override;
    void OnLineInserted(int index) override;
    void OnLineRemoved(int index) override;
    void OnLineChanged(int index) override;
    void OnSelectionSet() override;
    void OnProgressShown(bool shown) override;
    void OnProgress(int percent) override;

    // Runs a handler of the rules: the typed fields go in first, the page's texts and
    // controls come out afterwards.
    void Run(bool (DataPageRules::*handler)());
    void ReadFields();
    void Show();
    void TakeSelection();
    void OnGoPage();
    void OnImport();
    void OnSigmaToggled(bool shown);
    void RunImport(const std::function<void()>& import);
    void AddListCommands();
    void EndIfOutOfMemory();

    CMySheet& m_sheet;
    DataPageRules m_rules;
    DataListModel* m_model;
    bool m_bApplyingSelection = false;
};

} // namespace lumetra
