#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace lumetra {

// The lines of one display page, as rows that refer to the document's stored report lines
// (no copies). Rows are added in batches as a build reports them.
class ReportPageModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ReportPageModel(const std::vector<std::string>& lines, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Empties the list; the next rows start at line `first`.
    void Reset(int first);
    // Shows the next `count` lines after those shown.
    void Append(int count);
    int First() const { return m_first; }

private:
    const std::vector<std::string>& m_lines;
    int m_first = 0;
    int m_count = 0;
};

} // namespace lumetra
