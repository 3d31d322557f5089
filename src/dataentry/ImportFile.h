#pragma once

#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;
class Ui;
struct CXYdata;

// What an import tells the page that runs it, as it goes.
class ImportListener {
public:
    virtual ~ImportListener() = default;
    // After each pair has been appended to the document's pairs.
    virtual void OnPairImported(const CXYdata& pair) = 0;
    // The progress bar: shown for files of more than 10000 bytes, moved in tenths, hidden at
    // the end (shown == false).
    virtual void OnProgressShown(bool shown) = 0;
    virtual void OnProgress(int percent) = 0;
};

// What an import does with lines among the pairs that are not pairs (a word, a lone number, a
// blank line with more pairs after it): ask the user, skip them, or stop at the first.
enum class BadLines { Ask, Skip, Stop };

struct ImportResult {
    int imported = 0;             // pairs appended to the document
    int skipped = 0;              // lines before the first pair that held no numbers
    int notPairs = 0;             // lines among the pairs that were skipped as not pairs
    bool outOfMemory = false;     // the import stopped for want of memory; the sheet must close
    bool accepted = false;        // the text passed the checks of its first line
    bool complete = false;        // no line with numbers was left unread
    bool notPairsStopped = false; // lines that are not pairs left some unread
    bool decimalComma = false;    // the numbers were read with a decimal comma
};

inline constexpr size_t kImportByteLimit = 10000000;

// Appends the X/Y pairs of a text file to doc.m_pPairs: lines ending in LF, CR LF or CR (the last
// one may have no line end), the first two numbers of each, separated by blanks, tabs, commas,
// semicolons or quotes. A file whose fields are separated by ";" or TAB and whose numbers have a
// decimal comma ("1,5") is read so. Lines without numbers before the first pair (headings, units)
// are skipped; a blank line after the last pair ends the data. Lines among the pairs that are not
// pairs are skipped or end the import, as badLines says. Reports every problem and every line it
// did not take itself through ui, naming the line; pairs read before a stop stay. Neither the
// modified flag nor m_nPairs is touched: the page's commit does that. withSigma: each pair line
// holds a third number, the standard deviation of the measured value, above 0; a line without
// one is not a pair.
ImportResult ImportFile(CLumetraDoc& doc, Ui& ui, const std::string& path, ImportListener* listener,
                        BadLines badLines = BadLines::Ask, bool withSigma = false);

// The reader of ImportFile on text already in memory (the r bytes at data, as a file holds
// them): appends the pairs to `pairs` under the same rules, and every message begins with
// `source` ("File /home/x.txt") where a file's begins with "File " and its path. cutShort: the
// text was cut at the byte limit, so its last line without a line end is left unread.
ImportResult ImportText(std::vector<CXYdata>& pairs, Ui& ui, const std::string& source,
                        const char* data, size_t r, ImportListener* listener, bool cutShort = false,
                        BadLines badLines = BadLines::Ask, bool withSigma = false);

// Whether any line of the text holds a number as the import reads them.
bool HoldsAnyNumber(const char* data, size_t r);

} // namespace lumetra
