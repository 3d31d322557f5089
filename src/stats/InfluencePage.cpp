#include "stats/InfluencePage.h"

#include "stats/InfluenceText.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace lumetra {
namespace {

// Rows of flagged pairs, in a tint that leaves the numbers readable.
const QColor kFlaggedRow(255, 215, 205);
// Rows of pairs excluded from the fit, greyed.
const QColor kExcludedRow(225, 225, 225);

QString JoinLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text << QString::fromStdString(line).trimmed();
    return text.join('\n');
}

} // namespace

// The pairs shown (all, or the flagged ones), each row formatted when the view asks for it.
class InfluenceModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Reset(const CLumetraDoc* doc, const InfluenceTable* table, bool flaggedOnly) {
        beginResetModel();
        m_doc = doc;
        m_table = table;
        m_cachedRow = -1;
        m_shown = doc && table ? InfluenceRowRefs(*doc, *table, flaggedOnly)
                               : std::vector<InfluenceRowRef>();
        endResetModel();
    }

    // The document's index of the pair in this row.
    size_t PairAt(int row) const { return m_shown[size_t(row)].pair; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_shown.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !m_table ? 0 : int(m_header.size());
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            size_t(section) < m_header.size())
            return QString::fromStdString(m_header[size_t(section)]);
        return {};
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !m_table || size_t(index.row()) >= m_shown.size())
            return {};
        const InfluenceRowRef& row = m_shown[size_t(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            if (m_cachedRow != index.row()) {
                m_cells = InfluenceRow(*m_doc, row);
                m_cachedRow = index.row();
            }
            return QString::fromStdString(m_cells[size_t(index.column())]);
        case Qt::TextAlignmentRole:
            // Numbers line up on the right; the flag's words read from the left.
            return index.column() + 1 < columnCount() ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                      : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (!row.measures)
                return QVariant(kExcludedRow);
            return row.measures->Flagged() ? QVariant(kFlaggedRow) : QVariant();
        default:
            return {};
        }
    }

private:
    const std::vector<std::string> m_header = InfluenceHeader();
    const CLumetraDoc* m_doc = nullptr;
    const InfluenceTable* m_table = nullptr;
    std::vector<InfluenceRowRef> m_shown;
    mutable int m_cachedRow = -1;
    mutable std::vector<std::string> m_cells;
};

CInfluencePage::CInfluencePage() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* choices = new QHBoxLayout;
    m_flaggedOnly = new QCheckBox("&Flagged pairs only");
    choices->addWidget(m_flaggedOnly);
    choices->addStretch();
    m_exclude = new QPushButton("E&xclude from Fit");
    m_include = new QPushButton("Include in &Fit");
    choices->addWidget(m_exclude);
    choices->addWidget(m_include);
    auto* copy = new QPushButton("Copy &Influence");
    choices->addWidget(copy);
    layout->addLayout(choices);
    m_summary = new QLabel;
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    m_model = new InfluenceModel(this);
    m_table = new QTableView;
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_table, 1);
    connect(m_flaggedOnly, &QCheckBox::toggled, this, &CInfluencePage::ShowRows);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CInfluencePage::UpdateButtons);
    for (QPushButton* button : {m_exclude, m_include})
        connect(button, &QPushButton::clicked, this, [this, button] {
            if (m_onExclude)
                m_onExclude(SelectedPairs(), button == m_exclude);
        });
    UpdateButtons();
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(QString::fromStdString(TabText())); });
}

CInfluencePage::~CInfluencePage() = default;

void CInfluencePage::Show(const CLumetraDoc& doc) {
    m_doc = &doc;
    m_outcome = DocumentInfluence(doc);
    m_summary->setText(JoinLines(InfluenceSummary(doc, *m_outcome)));
    ShowRows();
}

void CInfluencePage::ShowRows() {
    m_model->Reset(m_doc, m_outcome && m_outcome->table ? &*m_outcome->table : nullptr,
                   m_flaggedOnly->isChecked());
    // Measured over the first thousand rows, as the view does.
    m_table->resizeColumnsToContents();
    UpdateButtons();
}

std::vector<size_t> CInfluencePage::SelectedPairs() const {
    std::vector<size_t> pairs;
    for (const QModelIndex& row : m_table->selectionModel()->selectedRows())
        pairs.push_back(m_model->PairAt(row.row()));
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

void CInfluencePage::UpdateButtons() {
    bool excluded = false, included = false;
    if (m_doc)
        for (size_t k : SelectedPairs())
            if (k < m_doc->m_pPairs.size())
                (m_doc->m_pPairs[k].m_bExcluded ? excluded : included) = true;
    m_exclude->setEnabled(included);
    m_include->setEnabled(excluded);
}

TextTable CInfluencePage::Rows() const {
    return m_doc && m_outcome->table
               ? InfluenceRows(*m_doc, *m_outcome->table, m_flaggedOnly->isChecked())
               : TextTable{};
}

std::vector<std::string> CInfluencePage::Lines() const {
    if (!m_doc)
        return {};
    std::vector<std::string> lines = InfluenceSummary(*m_doc, *m_outcome);
    for (std::string& line : TableLines(Rows()))
        lines.push_back(std::move(line));
    return lines;
}

std::string CInfluencePage::TabText() const {
    return TableTabText(Rows());
}

} // namespace lumetra
