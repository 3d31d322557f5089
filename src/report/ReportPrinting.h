#pragma once

#include "platform/Surface.h"
#include "report/DisplayPage.h"

#include <array>
#include <string>
#include <string_view>

namespace lumetra {

class CLumetraDoc;

// The printed report: a fixed 55 lines a sheet, in twips (1/1440 inch) with y growing upward
// from the top of the printable area, so every line after the first has a negative y.

inline constexpr int kPrintFontTwips = 200; // "Courier New", 10 points
inline constexpr int kPrintLeftTwips = 10;

using PrintTabStops = std::array<int, 4>;

// Where a printed page goes: the printer, the preview, a test.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    // Selects the print font and reports its measures in twips.
    virtual FontMetrics SelectPrintFont() = 0;
    // Draws one line at (x, y), its TABs expanded to the stops, which count from x = 0.
    virtual void TabbedTextOut(int x, int y, std::string_view text, const PrintTabStops& stops) = 0;
    // Puts back the font that was selected before the print font.
    virtual void RestoreFont() = 0;
};

// Printed pages of a report of `lineCount` lines: 0 for an empty report.
int PrintPageCount(int lineCount, int linesPerPage);

// The report lines of printed page `page` (1-based).
PageRange PrintPageLines(int page, int linesPerPage, int lineCount);

// Tab stops at 22, 44, 66 and 88 average character widths.
PrintTabStops PrintTabStopsFor(int charWidth);

// Before a print job: sets the document's page count and returns it; 0 means nothing to print.
int PreparePrinting(CLumetraDoc& doc);

// Draws printed page `page` of the document's report.
void PrintReportPage(const CLumetraDoc& doc, int page, PrintTarget& target);

// Messages of a print job that cannot run.
std::string NoPrinterMessage(const std::string& fileName);
std::string PrintFailedMessage(const std::string& fileName);

// "Settings"/"PreviewPages": the pages the preview shows side by side, 1 or 2, or 0 for all of
// them; anything else reads as 1.
int ReadPreviewPages(std::string_view text);

} // namespace lumetra
