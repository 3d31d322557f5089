#pragma once

#include <functional>
#include <string>

class QPrinter;
class QWidget;

namespace lumetra {

class CAppHost;

// Draws a window's pages onto the printer (or into the preview); false when it could not.
using PrintPages = std::function<bool(QPrinter& printer)>;

// File > Print of a window: the print dialog for pages 1 to `pages`, or straight to the printer
// (direct), which must lead somewhere; a failure is said with the data file's name. True when the
// pages went to the printer.
bool RunPrint(CAppHost& app, QWidget* parent, bool direct, int pages, const std::string& fileName,
              const PrintPages& print);

// File > Print Preview of a window, showing as many pages side by side as last time.
void RunPrintPreview(CAppHost& app, QWidget* parent, const PrintPages& print);

} // namespace lumetra
