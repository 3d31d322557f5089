#include "dataentry/PastePairs.h"

#include "data/NumberScan.h"

namespace lumetra {
namespace {

// Whether the line's first token, after the importer's delimiters, starts with a number.
bool BeginsWithNumber(std::string_view line) {
    const size_t from = line.find_first_not_of("\t;\",' ");
    if (from == std::string_view::npos)
        return false;
    const char* p = line.data() + from;
    double value = 0.0;
    return ScanDouble(p, line.data() + line.size(), value);
}

} // namespace

std::string PasteTextForImport(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 2);
    bool started = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        started = started || BeginsWithNumber(line);
        if (started)
            (out += line) += "\r\n";
        // Past the line end: CR LF, CR or LF.
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n' && (pos == end || text[end] == '\r'))
            ++pos;
    }
    return out;
}

} // namespace lumetra
