#include "report/ReportPrinting.h"

#include "data/LumetraDoc.h"

#include <algorithm>

namespace lumetra {

int PrintPageCount(int lineCount, int linesPerPage) {
    if (lineCount <= 0 || linesPerPage <= 0)
        return 0;
    return (lineCount - 1) / linesPerPage + 1;
}

PageRange PrintPageLines(int page, int linesPerPage, int lineCount) {
    // The same split as the display pages, with a page of 55 lines.
    return DisplayPageRange(page, linesPerPage, lineCount);
}

PrintTabStops PrintTabStopsFor(int charWidth) {
    return {22 * charWidth, 44 * charWidth, 66 * charWidth, 88 * charWidth};
}

int PreparePrinting(CLumetraDoc& doc) {
    doc.m_nPageCount = PrintPageCount(doc.m_nLineCount, doc.m_nLinesPerPage);
    return doc.m_nPageCount;
}

void PrintReportPage(const CLumetraDoc& doc, int page, PrintTarget& target) {
    // The line count may exceed the stored lines only by a fault; never read past them.
    const int lines = std::min(doc.m_nLineCount, int(doc.m_pReportLines.size()));
    const PageRange range = PrintPageLines(page, doc.m_nLinesPerPage, lines);
    const FontMetrics metrics = target.SelectPrintFont();
    const PrintTabStops stops = PrintTabStopsFor(metrics.charWidth);
    int y = 0;
    for (int i = std::max(0, range.first); i < range.last; ++i) {
        target.TabbedTextOut(kPrintLeftTwips, y, doc.m_pReportLines[size_t(i)], stops);
        y -= metrics.lineHeight;
    }
    target.RestoreFont();
}

std::string NoPrinterMessage(const std::string& fileName) {
    return "No printer is installed!\nThe report of " + fileName + " was not printed.";
}

std::string PrintFailedMessage(const std::string& fileName) {
    return "The printer could not start!\nThe report of " + fileName + " was not printed.";
}

int ReadPreviewPages(std::string_view text) {
    if (text == "0")
        return 0;
    if (text == "2")
        return 2;
    return 1;
}

} // namespace lumetra
