#pragma once

#include "data/XYdata.h"
#include "dataentry/ImportFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

class CLumetraDoc;
class DocumentBackup;
class Ui;

// How the page's list changed, so that a list control showing Lines() can follow.
class DataListListener {
public:
    virtual ~DataListListener() = default;
    virtual void OnListReset() = 0;
    virtual void OnLineInserted(int index) = 0;
    virtual void OnLineRemoved(int index) = 0;
    virtual void OnLineChanged(int index) = 0;
    // The selection was set by the page (all cleared, or one entry selected).
    virtual void OnSelectionSet() = 0;
    virtual void OnProgressShown(bool shown) = 0;
    virtual void OnProgress(int percent) = 0;
};

enum class DataField { kX, kY, kSigma };

// Which of the page's controls are enabled, as UpdateControls leaves them.
struct DataControls {
    bool next = false, prev = false, go = false;
    bool del = false, insert = false, edit = false, up = false, down = false;
    bool add = true, import = true;
};

// The Data page's working list of the pairs of one page of a document, and everything the page
// does with it. The list is a text copy: edits change only the list until CommitList writes it
// back into the pairs. Each handler returns true when it has refreshed the page's texts and
// controls (the page then shows them), false when it stopped early and the fields keep what the
// user typed; Focus() tells where the keyboard focus goes.
class DataPageRules {
public:
    static constexpr int kDataLimit = 127980;
    static constexpr int kAddMargin = 700;
    static constexpr size_t kLineLimit = 99;

    // pageSize is the display page size the listing uses too; refreshFlag is the sheet's flag
    // that the Resolution page raises when the line format changed; backup, when there is one,
    // is given the pairs before the page first changes them, so that Cancel can put them back.
    DataPageRules(CLumetraDoc& doc, Ui& ui, int pageSize, int& refreshFlag,
                  DocumentBackup* backup = nullptr);

    void SetListener(DataListListener* listener) { m_listener = listener; }

    // The page events.
    void OnSetActive();
    // Commits.
    void OnKillActive();

    // The handlers. The fields m_strX and m_strY hold what the user typed before each call.
    bool OnAdd();
    bool OnInsert();
    bool OnEdit();
    bool OnDelete();
    bool OnMoveUp();
    bool OnMoveDown();
    bool OnListSelChange();
    bool OnListDblClk();
    bool OnNextPage();
    bool OnPrevPage();
    // Go: the dialog is preset with the current page; the answer (nullopt for Cancel) goes to
    // OnGoPage.
    int GoPageStart() const { return m_nCurPage; }
    bool OnGoPage(std::optional<int> page);
    // Import: asks for the file, imports it, refreshes.
    bool OnImport();
    // The import itself, without the file dialog.
    bool ImportPath(const std::string& path);
    // Paste: the pairs of clipboard text, read as the import reads a file, inserted before the
    // first selected entry or at the end of the list. False when nothing was pasted (after the
    // message).
    bool OnPaste(std::string_view text);
    // Copy: the selected pairs, one "X<TAB>Y" line each, "<TAB>σ" added where a pair has one,
    // every digit kept.
    std::string SelectedPairsText() const;
    // The σ check box: shows or hides the column of standard deviations. Hiding it removes the
    // pairs' standard deviations, after the user agreed; false when the column stays.
    bool SetSigmaColumn(bool shown);

    // The selection as the list control has it: sorted indexes and the caret entry.
    void SetSelection(std::vector<int> selected, int caret);
    const std::vector<int>& Selection() const { return m_selected; }
    int Caret() const { return m_caret; }

    const std::vector<std::string>& Lines() const { return m_lines; }
    DataControls Controls() const { return m_controls; }
    DataField Focus() const { return m_focus; }
    // What Enter in the fields does: Edit once a double-click filled them, else Add.
    bool EnterEdits() const { return m_nPicked.has_value() && m_controls.edit; }
    // A commit or import ran out of memory: the sheet is to be ended with Cancel.
    bool EndDialogRequested() const { return m_bEndDialog; }

    // Writes the list into the pairs when it changed, every value as it was typed or read.
    void CommitList();

    int m_bListChanged = 0;
    int m_bFirstActivation = 1;
    int m_nTotal = 0;
    int m_nPageEnd = 0;
    int m_nPageFirst = 0;
    int m_nCurPage = 1;
    int m_nPages = 1;
    // The σ column is shown: the list, the fields, paste and import take a standard deviation.
    int m_bSigmaColumn = 0;
    std::string m_strX, m_strY, m_strSigma;
    std::string m_strPoints;
    std::string m_strXLabel, m_strYLabel;
    std::string m_strPageLabel = "Data Page 1/1";

private:
    class ImportToList;

    // The numbers behind a list line, which shows them at the display precision, and whether the
    // fit leaves the pair out, which an edit of the line keeps.
    struct ListValues {
        double x = 0.0, y = 0.0, sigma = 0.0;
        bool excluded = false;
    };

    void ShowPage(int page);
    void UpdateControls();
    void GoToPage(int page);
    void RebuildOverAddLimit();
    void SetPoints();
    std::string ListLine(double x, double y, double sigma) const;
    std::optional<std::pair<std::string, ListValues>> ReadFields();
    bool ReadSigmaField(double& sigma);
    int FirstSelected() const { return m_selected.empty() ? 0 : m_selected.front(); }
    void SelectOnly(std::optional<int> index);
    bool MoveSelected(int step);
    void InsertLine(int index, std::string line, ListValues values);
    void RemoveLine(int index);
    // False, after the message and with the sheet to be ended, when no copy could be kept.
    bool KeepPairsForCancel();
    // A paste or an import names the sheet's change for Edit > Undo.
    void NameChange(const char* name);

    CLumetraDoc& m_doc;
    Ui& m_ui;
    int m_nPageSize;
    int& m_bRefreshDataList;
    DocumentBackup* m_pBackup;
    DataListListener* m_listener = nullptr;
    std::vector<std::string> m_lines;
    std::vector<ListValues> m_values; // one per line
    // The line a double-click put into the fields, and the texts it put there.
    std::optional<int> m_nPicked;
    std::string m_strPickedX, m_strPickedY, m_strPickedSigma;
    std::vector<int> m_selected;
    int m_caret = 0;
    bool m_bCommitted = false; // the list was written into the pairs since it was filled
    bool m_bEndDialog = false;
    DataControls m_controls;
    DataField m_focus = DataField::kX;
};

} // namespace lumetra
