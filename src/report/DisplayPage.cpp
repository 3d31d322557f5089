#include "report/DisplayPage.h"

#include "data/NumberFormat.h"

#include <algorithm>

namespace lumetra {

PageRange DisplayPageRange(int page, int linesPerPage, int lineCount) {
    const int first = (page - 1) * linesPerPage;
    return {first, std::min(first + linesPerPage, lineCount)};
}

int ClampDisplayPage(int page, int pages) {
    return page > pages ? pages : page < 1 ? 1 : page;
}

std::vector<PageStep> DisplayPageSteps(int first, int last) {
    std::vector<PageStep> steps;
    const int step = last / 10;
    int threshold = step, percent = 0;
    for (int i = first; i < last; ++i)
        if (i > threshold) {
            percent += 10;
            threshold += step;
            steps.push_back({i, percent});
        }
    return steps;
}

std::string PageLinesText(int page, int pages, int linesPerPage, int lineCount) {
    const int shown = page == pages ? lineCount - (pages - 1) * linesPerPage : linesPerPage;
    return FormatC("%d/%d Lines", {shown, lineCount});
}

std::string PageNumberText(int page, int pages) {
    return FormatC("Display Page %d of %d", {page, pages});
}

} // namespace lumetra
