#include "report/ReportItemDelegate.h"

#include <QPainter>
#include <QTextOption>

namespace lumetra {

ReportItemDelegate::ReportItemDelegate(int itemHeight, int charWidth, QObject* parent)
    : QStyledItemDelegate(parent), m_nItemHeight(itemHeight), m_nCharWidth(charWidth) {}

void ReportItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    painter->save();
    const QRect r = option.rect;
    painter->setPen(QColor(255, 255, 255));
    if (option.state & QStyle::State_Selected)
        painter->setPen(QColor(255, 0, 0));
    painter->drawRect(r.adjusted(0, 0, -1, -1));
    QTextOption text(Qt::AlignLeft | Qt::AlignVCenter);
    text.setTabStopDistance(22.0 * m_nCharWidth);
    text.setWrapMode(QTextOption::NoWrap);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(QRectF(r), index.data(Qt::DisplayRole).toString(), text);
    painter->restore();
}

QSize ReportItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {m_nExtentChars * m_nCharWidth, m_nItemHeight};
}

} // namespace lumetra
