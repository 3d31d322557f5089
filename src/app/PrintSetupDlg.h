#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QStringList>

class QComboBox;
class QPrinter;
class QRadioButton;

namespace lumetra {

// What Print Setup chose: a printer by name (empty: print to a PDF file), the paper and its
// orientation.
struct PrintSetupChoice {
    QString printer;
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// Makes the application's printer the chosen one.
void ApplyPrintSetup(QPrinter& printer, const PrintSetupChoice& choice);

// File > Print Setup: the printer among those installed, and the paper.
class CPrintSetupDlg : public QDialog {
    Q_OBJECT
public:
    // printers: the installed printers' names; the dialog starts on the printer's present
    // choice.
    CPrintSetupDlg(const QPrinter& printer, const QStringList& printers, QWidget* parent);

    PrintSetupChoice Choice() const;

    QComboBox* m_comboPrinter;
    QComboBox* m_comboPaper;
    QRadioButton* m_radioPortrait;
    QRadioButton* m_radioLandscape;

private:
    // The papers the chosen printer takes, keeping the paper shown where it still can.
    void FillPapers();
};

} // namespace lumetra
