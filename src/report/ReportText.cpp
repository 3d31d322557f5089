#include "report/ReportText.h"

namespace lumetra {

std::string ReportText(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 1;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines)
        (text += line) += '\n';
    return text;
}

std::string ReportLinesText(const std::vector<std::string>& lines,
                            const std::vector<int>& indexes) {
    std::string text;
    for (int i : indexes)
        if (i >= 0 && size_t(i) < lines.size())
            (text += lines[size_t(i)]) += '\n';
    return text;
}

} // namespace lumetra
