#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumetra {

class CLumetraDoc;

// File > Export Table and lumetra-cli export: the report's table as CSV, or the report as text.

enum class TableFileFormat { Csv, Text };

// The format a file name's suffix names (".csv" or ".txt", in any case); nothing for any other.
std::optional<TableFileFormat> TableFileFormatFor(std::string_view path);

// One CSV field: quoted, with its quotes doubled, when it holds a comma, a quote, CR or LF.
std::string CsvField(std::string_view text);

// The table as CSV with CR LF line ends: a header row (the X and Y titles, "Computed Value",
// "Difference"), then X, Y, computed value and difference of each pair, each number in its
// shortest round-trip form.
std::string TableCsv(const CLumetraDoc& doc);

// What a file of that name holds: the CSV table or the report text.
std::string TableFileText(const CLumetraDoc& doc, TableFileFormat format);

std::string TableSuffixMessage(const std::string& path);
std::string TableWriteMessage(const std::string& path);

} // namespace lumetra
