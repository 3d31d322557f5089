#include "report/TableExport.h"

#include "data/FileSuffix.h"
#include "data/LumetraDoc.h"
#include "data/RoundTrip.h"
#include "report/ReportText.h"

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

std::string TableCsv(const CLumetraDoc& doc) {
    std::string text = CsvField(doc.m_strXTitle) + ',' + CsvField(doc.m_strYTitle) +
                       ",Computed Value,Difference\r\n";
    for (const CXYdata& p : doc.m_pPairs) {
        for (double v : {p.m_dX, p.m_dY, p.m_dComputed})
            (text += RoundTripNumber(v)) += ',';
        (text += RoundTripNumber(p.m_dDifference)) += "\r\n";
    }
    return text;
}

std::string TableFileText(const CLumetraDoc& doc, TableFileFormat format) {
    return format == TableFileFormat::Csv ? TableCsv(doc) : ReportText(doc.m_pReportLines);
}

std::string TableSuffixMessage(const std::string& path) {
    return "Cannot export the table to " + path + "!\nThe file name must end in .csv or .txt.";
}

std::string TableWriteMessage(const std::string& path) {
    return "Cannot write the table to " + path + "!\nAny earlier file of that name is unchanged.";
}

} // namespace lumetra
