#include "report/ListingPrint.h"

#include "data/LumetraDoc.h"
#include "report/ReportPrinting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

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
        return {int(std::lround((metrics.height() + metrics.leading()) * 1440.0 / m_dpiY)),
                int(std::lround(metrics.averageCharWidth() * 1440.0 / m_dpiX))};
    }

    void TabbedTextOut(int x, int y, std::string_view text, const PrintTabStops& stops) override {
        // Each piece after a TAB starts at the first stop beyond the text before it; past the
        // last stop a TAB is one blank.
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        const double top = -y * m_dpiY / 1440.0;
        double left = x * m_dpiX / 1440.0;
        size_t from = 0;
        while (true) {
            const size_t tab = text.find('\t', from);
            const std::string_view piece = text.substr(from, tab - from);
            const QString shown = QString::fromUtf8(piece.data(), qsizetype(piece.size()));
            m_painter.drawText(QPointF(left, top + metrics.ascent()), shown);
            if (tab == std::string_view::npos)
                break;
            const double end = left + metrics.horizontalAdvance(shown);
            left = end + metrics.horizontalAdvance(' ');
            for (int stop : stops)
                if (stop * m_dpiX / 1440.0 > end) {
                    left = stop * m_dpiX / 1440.0;
                    break;
                }
            from = tab + 1;
        }
    }

    void RestoreFont() override { m_painter.setFont(m_saved); }

private:
    QPainter& m_painter;
    double m_dpiX, m_dpiY;
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
