#include "report/ListingPrint.h"

#include "data/LumetraDoc.h"
#include "report/ReportPrinting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

// A printed page on a QPainter: twips mapped onto the device, y upward from the top of the
// printable area.
class PainterPrintTarget : public PrintTarget {
public:
    explicit PainterPrintTarget(QPainter& painter)
        : m_painter(painter), m_dpiX(painter.device()->logicalDpiX()),
          m_dpiY(painter.device()->logicalDpiY()) {}

    FontMetrics SelectPrintFont() override {
        m_saved = m_painter.font();
        QFont font(QFont("Courier New"), m_painter.device());
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSizeF(kPrintFontTwips / 20.0);
        font.setWeight(QFont::Normal);
        m_painter.setFont(font);
        const QFontMetricsF metrics(font, m_painter.device());
        m_lineHeight = metrics.height() + metrics.leading();
        return {int(std::lround(m_lineHeight * 1440.0 / m_dpiY)),
                int(std::lround(metrics.averageCharWidth() * 1440.0 / m_dpiX))};
    }

    void TabbedTextOut(int x, int y, std::string_view text, const PrintTabStops& stops) override {
        const double left = x * m_dpiX / 1440.0;
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setWrapMode(QTextOption::NoWrap);
        // Tab positions count from the text's start, the stops from x = 0.
        QList<QTextOption::Tab> tabs;
        for (int stop : stops)
            tabs.append(QTextOption::Tab(stop * m_dpiX / 1440.0 - left, QTextOption::LeftTab));
        option.setTabs(tabs);
        const QRectF cell(left, -y * m_dpiY / 1440.0, m_painter.device()->width() - left,
                          m_lineHeight);
        m_painter.drawText(cell, QString::fromUtf8(text.data(), qsizetype(text.size())), option);
    }

    void RestoreFont() override { m_painter.setFont(m_saved); }

private:
    QPainter& m_painter;
    double m_dpiX, m_dpiY;
    double m_lineHeight = 0;
    QFont m_saved;
};

} // namespace

bool PrintReport(const CLumetraDoc& doc, QPrinter& printer) {
    const int pages = PrintPageCount(doc.m_nLineCount, doc.m_nLinesPerPage);
    int from = 1, to = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(pages, printer.toPage());
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int page = from; page <= to; ++page) {
        if (page > from)
            printer.newPage();
        PainterPrintTarget target(painter);
        PrintReportPage(doc, page, target);
    }
    return painter.end();
}

bool PrinterAvailable(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return !printer.printerName().isEmpty();
}

} // namespace lumetra
