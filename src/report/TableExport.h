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

// Writes what a file of that format holds to fd, a megabyte at a time: the CSV table with CR LF
// line ends (a header row of the X and Y titles, "Computed Value" and "Difference", then X, Y,
// computed value and difference of each pair, each number in its shortest round-trip form, and
// a "Standard Deviation" column when a pair has one), or the report text. Returns 0, or the errno
// of the failure.
int WriteTable(int fd, const CLumetraDoc& doc, TableFileFormat format);

std::string TableSuffixMessage(const std::string& path);
// The first line of the message on a table that could not be written.
std::string TableWriteFailure(const std::string& path);

} // namespace lumetra
