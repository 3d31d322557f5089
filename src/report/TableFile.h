#pragma once

#include <string>

namespace lumetra {

class CLumetraDoc;
class SettingsStore;
class Ui;

// Writes the document's table as CSV or its report as text, as the file name's suffix asks, as
// SaveFile writes files: whole or not at all. Refusals and failures are shown through the Ui;
// false then.
bool ExportTable(const CLumetraDoc& doc, const std::string& path, Ui& ui);

// File > Export Table...: asks for the name (beside the data file, or where files were last
// opened), then exports.
void AskAndExportTable(const CLumetraDoc& doc, Ui& ui, const SettingsStore& settings);

} // namespace lumetra
