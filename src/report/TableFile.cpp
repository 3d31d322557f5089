#include "report/TableFile.h"

#include "data/LumetraDoc.h"
#include "data/SafeWrite.h"
#include "platform/BusyScope.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "report/TableExport.h"

namespace lumetra {

bool ExportTable(const CLumetraDoc& doc, const std::string& path, Ui& ui) {
    const std::optional<TableFileFormat> format = TableFileFormatFor(path);
    if (!format) {
        ui.MessageBox(TableSuffixMessage(path));
        return false;
    }
    const SaveResult result = SaveFile(path, [&](int fd) { return WriteTable(fd, doc, *format); });
    if (!result.Saved())
        ui.MessageBox(SaveFailureMessage(path, result, TableWriteFailure(path)));
    return result.Saved();
}

void AskAndExportTable(const CLumetraDoc& doc, Ui& ui, const SettingsStore& settings) {
    Ui::FileRequest request;
    request.saving = true;
    request.title = "Export Table";
    request.filters = {{"CSV Files (*.csv)", "*.csv"}, {"Text Files (*.txt)", "*.txt"}};
    const std::optional<std::string> folder = DirectoryToRemember(doc.GetPathName());
    request.initialDir = folder ? *folder : settings.GetString("Preferences", "LastPath");
    request.defaultSuffix = "csv";
    const Ui::FileChoice choice = ui.ChooseFile(request);
    if (!choice.accepted || choice.path.empty())
        return;
    const BusyScope wait(ui);
    ExportTable(doc, choice.path, ui);
}

} // namespace lumetra
