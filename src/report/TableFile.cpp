#include "report/TableFile.h"

#include "data/LumetraDoc.h"
#include "platform/BusyScope.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "report/TableExport.h"

#include <QSaveFile>

namespace lumetra {

bool ExportTable(const CLumetraDoc& doc, const std::string& path, Ui& ui) {
    const std::optional<TableFileFormat> format = TableFileFormatFor(path);
    if (!format) {
        ui.MessageBox(TableSuffixMessage(path));
        return false;
    }
    const std::string text = TableFileText(doc, *format);
    QSaveFile file(QString::fromStdString(path));
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(text.data(), qint64(text.size())) == qint64(text.size());
    // commit() renames the finished file into place; without it the temporary one goes.
    if (!written || !file.commit()) {
        file.cancelWriting();
        ui.MessageBox(TableWriteMessage(path));
        return false;
    }
    return true;
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
