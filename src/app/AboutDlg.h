#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;

namespace lumetra {

// The modal "About Lumetra" box: version, maker and where to reach them; OK closes it.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The lines of the centred text block; the first names the version.
    QStringList TextLines() const;
    // The two contact lines below the block.
    QStringList ContactLines() const;

private:
    QLabel* m_text;
    QLabel* m_contacts[2];
};

} // namespace lumetra
