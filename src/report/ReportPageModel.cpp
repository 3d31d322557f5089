#include "report/ReportPageModel.h"

namespace lumetra {

ReportPageModel::ReportPageModel(const std::vector<std::string>& lines, QObject* parent)
    : QAbstractListModel(parent), m_lines(lines) {}

int ReportPageModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_count;
}

QVariant ReportPageModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    // Another listing window of the document may be rebuilding the lines right now.
    const size_t line = size_t(m_first + index.row());
    return line < m_lines.size() ? QString::fromStdString(m_lines[line]) : QString();
}

void ReportPageModel::Reset(int first) {
    beginResetModel();
    m_first = first;
    m_count = 0;
    endResetModel();
}

void ReportPageModel::Append(int count) {
    if (count <= 0)
        return;
    beginInsertRows({}, m_count, m_count + count - 1);
    m_count += count;
    endInsertRows();
}

} // namespace lumetra
