#pragma once

class QPrinter;

namespace lumetra {

class CLumetraDoc;

// Prints the document's report on the printer (or into a preview): the printer's page range
// when one was chosen, else every page. Pages come from the stored report lines, whichever
// display page a window shows. False when the printer could not start.
bool PrintReport(const CLumetraDoc& doc, QPrinter& printer);

// Whether the printer leads anywhere: a named printer, or a file to print into.
bool PrinterAvailable(const QPrinter& printer);

} // namespace lumetra
