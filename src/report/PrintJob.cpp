#include "report/PrintJob.h"

#include "framework/AppHost.h"
#include "platform/BusyScope.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "report/ListingPrint.h"
#include "report/PrintToFile.h"
#include "report/ReportPrinting.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace lumetra {
namespace {

QPrintPreviewWidget::ViewMode PreviewMode(int pages) {
    return pages == 0   ? QPrintPreviewWidget::AllPagesView
           : pages == 2 ? QPrintPreviewWidget::FacingPagesView
                        : QPrintPreviewWidget::SinglePageView;
}

int PreviewPages(QPrintPreviewWidget::ViewMode mode) {
    return mode == QPrintPreviewWidget::AllPagesView      ? 0
           : mode == QPrintPreviewWidget::FacingPagesView ? 2
                                                          : 1;
}

} // namespace

bool RunPrint(CAppHost& app, QWidget* parent, bool direct, int pages, const std::string& fileName,
              const PrintPages& print) {
    QPrinter& printer = app.Printer();
    if (direct) {
        printer.setPrintRange(QPrinter::AllPages);
        if (!PrinterAvailable(printer)) {
            app.GetUi().MessageBox(NoPrinterMessage(fileName));
            return false;
        }
    } else {
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(1, pages);
        if (app.RunDialog(dialog) != QDialog::Accepted)
            return false;
    }
    const BusyScope wait(app.GetUi());
    return PrintSafely(printer, app.GetUi(), PrintFailedMessage(fileName), print);
}

void RunPrintPreview(CAppHost& app, QWidget* parent, const PrintPages& print) {
    QPrinter& printer = app.Printer();
    printer.setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle("Lumetra");
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, parent,
                     [&print](QPrinter* target) { print(*target); });
    SettingsStore& settings = app.Settings();
    auto* pages = preview.findChild<QPrintPreviewWidget*>();
    if (pages)
        pages->setViewMode(
            PreviewMode(ReadPreviewPages(settings.GetString("Settings", "PreviewPages", "1"))));
    app.RunDialog(preview);
    if (pages)
        settings.SetString("Settings", "PreviewPages",
                           std::to_string(PreviewPages(pages->viewMode())));
}

} // namespace lumetra
