#pragma once

#include <string>
#include <vector>

namespace lumetra {

// The listing shows its report one display page of P lines at a time.

struct PageRange {
    int first; // index of the page's first line
    int last;  // one past its last line
};

// Lines of page `page` (1-based): (page − 1) × P up to min(page × P, lineCount).
PageRange DisplayPageRange(int page, int linesPerPage, int lineCount);

// A requested page made to lie between 1 and the page count.
int ClampDisplayPage(int page, int pages);

// While page lines are put into the list, the status shows the percent after the item at index
// `after`; the rule counts from 0 in tenths of the page's end index, not of its length.
struct PageStep {
    int after;
    int percent;
};
std::vector<PageStep> DisplayPageSteps(int first, int last);

// Status panes 1 and 2: "%d/%d Lines" (lines on this page, all lines) and
// "Display Page %d of %d".
std::string PageLinesText(int page, int pages, int linesPerPage, int lineCount);
std::string PageNumberText(int page, int pages);

} // namespace lumetra
