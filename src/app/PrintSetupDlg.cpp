#include "app/PrintSetupDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumetra {
namespace {

constexpr const char* kPrintToFile = "Print to File (PDF)";

// Offered where a printer names no papers of its own (a PDF file, a printer not found).
QList<QPageSize> CommonPapers() {
    QList<QPageSize> papers;
    for (QPageSize::PageSizeId id :
         {QPageSize::A4, QPageSize::Letter, QPageSize::Legal, QPageSize::A3, QPageSize::A5,
          QPageSize::B5, QPageSize::Executive, QPageSize::Tabloid})
        papers.append(QPageSize(id));
    return papers;
}

} // namespace

void ApplyPrintSetup(QPrinter& printer, const PrintSetupChoice& choice) {
    if (choice.printer.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(choice.printer);
    }
    printer.setPageSize(QPageSize(choice.paper));
    printer.setPageOrientation(choice.orientation);
}

CPrintSetupDlg::CPrintSetupDlg(const QPrinter& printer, const QStringList& printers,
                               QWidget* parent)
    : QDialog(parent), m_comboPrinter(new QComboBox), m_comboPaper(new QComboBox),
      m_radioPortrait(new QRadioButton("Po&rtrait")),
      m_radioLandscape(new QRadioButton("&Landscape")) {
    setWindowTitle("Print Setup");
    for (const QString& name : printers)
        m_comboPrinter->addItem(name, name);
    m_comboPrinter->addItem(kPrintToFile, QString());
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    const int current = toFile ? m_comboPrinter->count() - 1
                               : std::max(0, m_comboPrinter->findData(printer.printerName()));
    m_comboPrinter->setCurrentIndex(current);

    auto* layout = new QVBoxLayout(this);
    auto* printerGroup = new QGroupBox("Printer");
    auto* printerForm = new QFormLayout(printerGroup);
    printerForm->addRow("&Name:", m_comboPrinter);
    layout->addWidget(printerGroup);
    auto* row = new QHBoxLayout;
    auto* paperGroup = new QGroupBox("Paper");
    auto* paperForm = new QFormLayout(paperGroup);
    paperForm->addRow("Si&ze:", m_comboPaper);
    row->addWidget(paperGroup);
    auto* orientationGroup = new QGroupBox("Orientation");
    auto* orientationLayout = new QVBoxLayout(orientationGroup);
    orientationLayout->addWidget(m_radioPortrait);
    orientationLayout->addWidget(m_radioLandscape);
    row->addWidget(orientationGroup);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    const QPageLayout page = printer.pageLayout();
    (page.orientation() == QPageLayout::Landscape ? m_radioLandscape : m_radioPortrait)
        ->setChecked(true);
    FillPapers();
    const int paper = m_comboPaper->findData(int(page.pageSize().id()));
    if (paper >= 0)
        m_comboPaper->setCurrentIndex(paper);
    connect(m_comboPrinter, &QComboBox::currentIndexChanged, this, &CPrintSetupDlg::FillPapers);
}

void CPrintSetupDlg::FillPapers() {
    const QVariant shown = m_comboPaper->currentData();
    const QString name = m_comboPrinter->currentData().toString();
    QList<QPageSize> papers;
    if (!name.isEmpty())
        papers = QPrinterInfo::printerInfo(name).supportedPageSizes();
    if (papers.isEmpty())
        papers = CommonPapers();
    m_comboPaper->clear();
    for (const QPageSize& paper : papers)
        if (paper.id() != QPageSize::Custom)
            m_comboPaper->addItem(paper.name(), int(paper.id()));
    const int keep = shown.isValid() ? m_comboPaper->findData(shown) : -1;
    m_comboPaper->setCurrentIndex(std::max(0, keep));
}

PrintSetupChoice CPrintSetupDlg::Choice() const {
    PrintSetupChoice choice;
    choice.printer = m_comboPrinter->currentData().toString();
    choice.paper = QPageSize::PageSizeId(m_comboPaper->currentData().toInt());
    choice.orientation =
        m_radioLandscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return choice;
}

} // namespace lumetra
