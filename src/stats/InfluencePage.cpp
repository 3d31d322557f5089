#include "stats/InfluencePage.h"

#include "stats/InfluenceText.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumetra {
namespace {

// Rows of flagged pairs, in a tint that leaves the numbers readable.
const QColor kFlaggedRow(255, 215, 205);

QString JoinLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text << QString::fromStdString(line).trimmed();
    return text.join('\n');
}

} // namespace

void FillTableWidget(QTableWidget& widget, const TextTable& table) {
    widget.clear();
    widget.setColumnCount(int(table.header.size()));
    widget.setRowCount(int(table.rows.size()));
    QStringList header;
    for (const std::string& h : table.header)
        header << QString::fromStdString(h);
    widget.setHorizontalHeaderLabels(header);
    for (size_t r = 0; r < table.rows.size(); ++r)
        for (size_t c = 0; c < table.rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(table.rows[r][c]));
            if (c + 1 < table.header.size())
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            widget.setItem(int(r), int(c), item);
        }
    widget.resizeColumnsToContents();
    widget.horizontalHeader()->setStretchLastSection(true);
}

CInfluencePage::CInfluencePage() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* choices = new QHBoxLayout;
    m_flaggedOnly = new QCheckBox("&Flagged pairs only");
    choices->addWidget(m_flaggedOnly);
    choices->addStretch();
    auto* copy = new QPushButton("Copy &Influence");
    choices->addWidget(copy);
    layout->addLayout(choices);
    m_summary = new QLabel;
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    m_table = new QTableWidget;
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    layout->addWidget(m_table, 1);
    connect(m_flaggedOnly, &QCheckBox::toggled, this, &CInfluencePage::ShowRows);
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(QString::fromStdString(TabText())); });
}

void CInfluencePage::Show(const CLumetraDoc& doc) {
    m_doc = &doc;
    m_outcome = DocumentInfluence(doc);
    m_summary->setText(JoinLines(InfluenceSummary(doc, m_outcome)));
    ShowRows();
}

void CInfluencePage::ShowRows() {
    m_rows = m_doc && m_outcome.table
                 ? InfluenceRows(*m_doc, *m_outcome.table, m_flaggedOnly->isChecked())
                 : TextTable{};
    FillTableWidget(*m_table, m_rows);
    const size_t flag = m_rows.header.empty() ? 0 : m_rows.header.size() - 1;
    for (size_t r = 0; r < m_rows.rows.size(); ++r)
        if (!m_rows.rows[r][flag].empty())
            for (int c = 0; c < m_table->columnCount(); ++c)
                m_table->item(int(r), c)->setBackground(kFlaggedRow);
}

std::vector<std::string> CInfluencePage::Lines() const {
    if (!m_doc)
        return {};
    std::vector<std::string> lines = InfluenceSummary(*m_doc, m_outcome);
    for (std::string& line : TableLines(m_rows))
        lines.push_back(std::move(line));
    return lines;
}

std::string CInfluencePage::TabText() const {
    return TableTabText(m_rows);
}

} // namespace lumetra
