#include "report/TableExport.h"

#include "data/FileSuffix.h"
#include "data/LumetraDoc.h"
#include "data/RoundTrip.h"
#include "data/SafeWrite.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace lumetra {

std::optional<TableFileFormat> TableFileFormatFor(std::string_view path) {
    if (HasFileSuffix(path, ".csv"))
        return TableFileFormat::Csv;
    if (HasFileSuffix(path, ".txt"))
        return TableFileFormat::Text;
    return std::nullopt;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string field = "\"";
    for (char c : text) {
        if (c == '"')
            field += '"';
        field += c;
    }
    return field + '"';
}

int WriteTable(int fd, const CLumetraDoc& doc, TableFileFormat format) {
    try {
        BufferedOutput out(fd);
        std::string& text = out.Text();
        if (format == TableFileFormat::Text) {
            for (const std::string& line : doc.m_pReportLines) {
                if (!out.Spill())
                    return errno;
                (text += line) += '\n';
            }
            return out.Finish();
        }
        // A set without standard deviations gets no column for them.
        const bool sigma = std::any_of(doc.m_pPairs.begin(), doc.m_pPairs.end(),
                                       [](const CXYdata& p) { return p.HasSigma(); });
        text = CsvField(doc.m_strXTitle) + ',' + CsvField(doc.m_strYTitle) +
               ",Computed Value,Difference" + (sigma ? ",Standard Deviation\r\n" : "\r\n");
        for (const CXYdata& p : doc.m_pPairs) {
            if (!out.Spill())
                return errno;
            for (double v : {p.m_dX, p.m_dY, p.m_dComputed})
                (text += RoundTripNumber(v)) += ',';
            text += RoundTripNumber(p.m_dDifference);
            if (sigma)
                (text += ',') += p.HasSigma() ? RoundTripNumber(p.m_dSigma) : std::string();
            text += "\r\n";
        }
        return out.Finish();
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

std::string TableSuffixMessage(const std::string& path) {
    return "Cannot export the table to " + path + "!\nThe file name must end in .csv or .txt.";
}

std::string TableWriteFailure(const std::string& path) {
    return "Cannot write the table to " + path + "!";
}

} // namespace lumetra
