#pragma once

#include <QStyledItemDelegate>

namespace lumetra {

// Draws a report line with tab stops every 22 average character widths and marks the selected
// line with a red frame only (no filled background), as the listing always has.
class ReportItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ReportItemDelegate(int itemHeight, int charWidth, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The width every item claims, so the list scrolls over the longest line.
    void SetExtentChars(int chars) { m_nExtentChars = chars; }

private:
    int m_nItemHeight;
    int m_nCharWidth;
    int m_nExtentChars = 105;
};

} // namespace lumetra
