#include "dataentry/DataPage.h"

#include "data/LumetraDoc.h"
#include "dataentry/BitmapButton.h"
#include "report/GoToPageDlg.h"

#include <QAbstractListModel>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumetra {

namespace {
constexpr int kTabColumn = 18; // characters before the Y column; X takes 16 by default
}

// The list control's model: it refers to the rules' lines and follows their changes. Its own row
// count is what the view has been told, so a change can be announced after it was made.
class DataListModel : public QAbstractListModel {
public:
    explicit DataListModel(const DataPageRules& rules) : m_rules(rules) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : m_rows;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || index.row() >= int(m_rules.Lines().size()))
            return {};
        // Each TAB goes to the next column: Y, then σ.
        const std::string& line = m_rules.Lines()[size_t(index.row())];
        QString text;
        size_t start = 0;
        for (size_t tab = line.find('\t'); tab != std::string::npos;
             start = tab + 1, tab = line.find('\t', start)) {
            text += QString::fromStdString(line.substr(start, tab - start));
            const int column = (int(text.size()) / kTabColumn + 1) * kTabColumn;
            text += QString(std::max(1, column - int(text.size())), ' ');
        }
        return text + QString::fromStdString(line.substr(start));
    }
    void Reset() {
        beginResetModel();
        m_rows = int(m_rules.Lines().size());
        endResetModel();
    }
    void Inserted(int row) {
        beginInsertRows({}, row, row);
        ++m_rows;
        endInsertRows();
    }
    void Removed(int row) {
        beginRemoveRows({}, row, row);
        --m_rows;
        endRemoveRows();
    }
    void Changed(int row) { emit dataChanged(index(row), index(row)); }

private:
    const DataPageRules& m_rules;
    int m_rows = 0;
};

CData::CData(CLumetraDoc& doc, Ui& ui, CMySheet& sheet, int pageSize, DocumentBackup* backup)
    : CPropertyPage("Data", doc, ui), m_sheet(sheet),
      m_rules(doc, ui, pageSize, sheet.m_bRefreshDataList, backup),
      m_model(new DataListModel(m_rules)) {
    m_model->setParent(this);
    QFont font("Courier New", 10);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);

    m_labelX = new QLabel("&X:");
    m_labelY = new QLabel("&Y:");
    m_labelPage = new QLabel("Data Page 1/1");
    m_editX = new QLineEdit;
    m_editY = new QLineEdit;
    m_labelSigma = new QLabel(QString::fromUtf8("\u03c3:"));
    m_editSigma = new QLineEdit;
    m_checkSigma = new QCheckBox(QString::fromUtf8("&Standard deviations (\u03c3)"));
    m_labelX->setBuddy(m_editX);
    m_labelY->setBuddy(m_editY);
    m_labelSigma->setBuddy(m_editSigma);
    m_btnNextPage = new CBitmapButton("NEXTPAGE");
    m_btnPrevPage = new CBitmapButton("PREVPAGE");
    m_btnGoPage = new CBitmapButton("GOPAGE");
    m_btnNextPage->setToolTip("Next Data Page");
    m_btnPrevPage->setToolTip("Previous Data Page");
    m_btnGoPage->setToolTip("Go to Data Page");

    m_list = new QListView;
    m_list->setModel(m_model);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setMinimumSize(380, 260);

    m_btnAdd = new QPushButton("&Add");
    m_btnEdit = new QPushButton("&Edit");
    m_btnDelete = new QPushButton("&Delete");
    m_btnInsert = new QPushButton("&Insert");
    m_btnImport = new QPushButton("I&mport");
    m_btnUp = new QPushButton("&Up");
    m_btnDown = new QPushButton("Do&wn");
    m_editPoints = new QLineEdit;
    m_editPoints->setReadOnly(true);
    m_progress = new QProgressBar;
    m_progress->setTextVisible(false);

    auto* top = new QGridLayout;
    top->addWidget(m_labelX, 0, 0);
    top->addWidget(m_editX, 1, 0);
    top->addWidget(m_labelY, 0, 1);
    top->addWidget(m_editY, 1, 1);
    top->addWidget(m_labelSigma, 0, 2);
    top->addWidget(m_editSigma, 1, 2);
    top->addWidget(m_labelPage, 0, 3);
    auto* paging = new QHBoxLayout;
    for (QWidget* b : {static_cast<QWidget*>(m_btnNextPage), static_cast<QWidget*>(m_btnPrevPage),
                       static_cast<QWidget*>(m_btnGoPage)})
        paging->addWidget(b);
    paging->addStretch();
    top->addLayout(paging, 1, 3);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_btnAdd, m_btnEdit, m_btnDelete, m_btnInsert, m_btnImport})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(new QLabel("Move:"));
    buttons->addWidget(m_btnUp);
    buttons->addWidget(m_btnDown);
    buttons->addWidget(new QLabel("# Points:"));
    buttons->addWidget(m_editPoints);

    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(buttons);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(m_checkSigma);
    page->addLayout(middle, 1);
    page->addWidget(m_progress);

    m_askPage = [this](int current) -> std::optional<int> {
        CGoToPageDlg dialog(m_ui, this);
        dialog.m_nPage = current;
        return dialog.Run() ? std::optional<int>(dialog.m_nPage) : std::nullopt;
    };

    connect(m_btnAdd, &QPushButton::clicked, this, [this] { Run(&DataPageRules::OnAdd); });
    connect(m_btnEdit, &QPushButton::clicked, this, [this] { Run(&DataPageRules::OnEdit); });
    connect(m_btnDelete, &QPushButton::clicked, this, [this] { Run(&DataPageRules::OnDelete); });
    connect(m_btnInsert, &QPushButton::clicked, this, [this] { Run(&DataPageRules::OnInsert); });
    connect(m_btnUp, &QPushButton::clicked, this, [this] { Run(&DataPageRules::OnMoveUp); });
    connect(m_btnDown, &QPushButton::clicked, this, [this] { Run(&DataPageRules::OnMoveDown); });
    connect(m_btnNextPage, &QAbstractButton::clicked, this,
            [this] { Run(&DataPageRules::OnNextPage); });
    connect(m_btnPrevPage, &QAbstractButton::clicked, this,
            [this] { Run(&DataPageRules::OnPrevPage); });
    connect(m_btnGoPage, &QAbstractButton::clicked, this, &CData::OnGoPage);
    connect(m_btnImport, &QPushButton::clicked, this, &CData::OnImport);
    connect(m_checkSigma, &QCheckBox::clicked, this, &CData::OnSigmaToggled);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_bApplyingSelection)
            return;
        TakeSelection();
        const bool inList = m_list->hasFocus();
        Run(&DataPageRules::OnListSelChange);
        // Selecting with the mouse or the keys goes on in the list, where Copy and Paste act.
        if (inList)
            m_list->setFocus();
    });
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        TakeSelection();
        m_rules.SetSelection(m_rules.Selection(), index.row());
        Run(&DataPageRules::OnListDblClk);
    });
    AddListCommands();
    m_rules.SetListener(this);
}

// Copy and Paste of pairs, by key and by the list's context menu.
void CData::AddListCommands() {
    m_actCopy = new QAction("&Copy Pairs", m_list);
    m_actCopy->setShortcut(QKeySequence::Copy);
    m_actPaste = new QAction("&Paste Pairs", m_list);
    m_actPaste->setShortcut(QKeySequence::Paste);
    for (QAction* action : {m_actCopy, m_actPaste}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        m_list->addAction(action);
    }
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_actCopy, &QAction::triggered, this, &CData::OnCopyPairs);
    connect(m_actPaste, &QAction::triggered, this, &CData::OnPastePairs);
}

void CData::OnCopyPairs() {
    TakeSelection();
    const std::string text = m_rules.SelectedPairsText();
    if (!text.empty())
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void CData::OnPastePairs() {
    TakeSelection();
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    ReadFields();
    if (m_rules.OnPaste(text))
        Show();
    m_list->setFocus();
    EndIfOutOfMemory();
}

CData::~CData() {
    m_rules.SetListener(nullptr);
}

void CData::OnSetActive() {
    if (m_rules.m_bFirstActivation) {
        m_btnNextPage->LoadBitmaps();
        m_btnPrevPage->LoadBitmaps();
        m_btnGoPage->LoadBitmaps();
        m_progress->setRange(0, 100);
        m_progress->setValue(0);
        m_progress->setEnabled(false);
        m_progress->hide();
    }
    m_rules.OnSetActive();
    Show();
}

bool CData::OnKillActive() {
    m_rules.OnKillActive();
    if (m_rules.EndDialogRequested()) {
        m_sheet.done(2);
        return false;
    }
    return true;
}

void CData::ReadFields() {
    m_rules.m_strX = m_editX->text().toStdString();
    m_rules.m_strY = m_editY->text().toStdString();
    m_rules.m_strSigma = m_editSigma->text().toStdString();
}

void CData::OnSigmaToggled(bool shown) {
    ReadFields();
    m_rules.SetSigmaColumn(shown);
    Show();
    m_editX->setFocus();
    EndIfOutOfMemory();
}

void CData::Run(bool (DataPageRules::*handler)()) {
    ReadFields();
    if ((m_rules.*handler)())
        Show();
    (m_rules.Focus() == DataField::kX   ? m_editX
     : m_rules.Focus() == DataField::kY ? m_editY
                                        : m_editSigma)
        ->setFocus();
    EndIfOutOfMemory();
}

void CData::Show() {
    m_editX->setText(QString::fromStdString(m_rules.m_strX));
    m_editY->setText(QString::fromStdString(m_rules.m_strY));
    m_editSigma->setText(QString::fromStdString(m_rules.m_strSigma));
    m_checkSigma->setChecked(m_rules.m_bSigmaColumn != 0);
    m_labelSigma->setVisible(m_rules.m_bSigmaColumn != 0);
    m_editSigma->setVisible(m_rules.m_bSigmaColumn != 0);
    m_editPoints->setText(QString::fromStdString(m_rules.m_strPoints));
    m_labelX->setText(QString::fromStdString(m_rules.m_strXLabel));
    m_labelY->setText(QString::fromStdString(m_rules.m_strYLabel));
    m_labelPage->setText(QString::fromStdString(m_rules.m_strPageLabel));
    const DataControls c = m_rules.Controls();
    m_btnNextPage->setEnabled(c.next);
    m_btnPrevPage->setEnabled(c.prev);
    m_btnGoPage->setEnabled(c.go);
    m_btnDelete->setEnabled(c.del);
    m_btnInsert->setEnabled(c.insert);
    m_btnEdit->setEnabled(c.edit);
    m_btnUp->setEnabled(c.up);
    m_btnDown->setEnabled(c.down);
    m_btnAdd->setEnabled(c.add);
    m_btnImport->setEnabled(c.import);
    // Enter in the fields adds the pair, or replaces the double-clicked one, instead of closing
    // the sheet.
    (m_rules.EnterEdits() ? m_btnEdit : m_btnAdd)->setDefault(true);
}

void CData::TakeSelection() {
    std::vector<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    m_rules.SetSelection(std::move(rows), m_list->currentIndex().row());
}

void CData::OnGoPage() {
    ReadFields();
    Show(); // the fields show the page's texts while the dialog asks
    const std::optional<int> page = m_askPage(m_rules.GoPageStart());
    if (m_rules.OnGoPage(page))
        Show();
    m_editX->setFocus();
    EndIfOutOfMemory();
}

// While the import lets the window repaint, the sheet takes no input: a click on OK or on another
// page would commit a list that the import is still filling.
void CData::OnImport() {
    RunImport([this] { m_rules.OnImport(); });
}

void CData::ImportFromFile(const std::string& path) {
    RunImport([&] { m_rules.ImportPath(path); });
}

void CData::RunImport(const std::function<void()>& import) {
    ReadFields();
    m_sheet.m_nBusy += 1;
    m_sheet.setEnabled(false);
    import();
    m_sheet.setEnabled(true);
    m_sheet.m_nBusy -= 1;
    Show();
    m_editX->setFocus();
    EndIfOutOfMemory();
}

void CData::EndIfOutOfMemory() {
    if (m_rules.EndDialogRequested())
        m_sheet.done(2);
}

void CData::OnListReset() {
    m_model->Reset();
}

void CData::OnLineInserted(int index) {
    m_model->Inserted(index);
}

void CData::OnLineRemoved(int index) {
    m_model->Removed(index);
}

void CData::OnLineChanged(int index) {
    m_model->Changed(index);
}

void CData::OnSelectionSet() {
    m_bApplyingSelection = true;
    QItemSelectionModel* selection = m_list->selectionModel();
    selection->clearSelection();
    for (int row : m_rules.Selection())
        selection->select(m_model->index(row), QItemSelectionModel::Select);
    if (!m_rules.Selection().empty())
        selection->setCurrentIndex(m_model->index(m_rules.Selection().front()),
                                   QItemSelectionModel::NoUpdate);
    m_bApplyingSelection = false;
}

void CData::OnProgressShown(bool shown) {
    m_progress->setEnabled(shown);
    m_progress->setVisible(shown);
}

void CData::OnProgress(int percent) {
    m_progress->setValue(percent);
}

} // namespace lumetra
