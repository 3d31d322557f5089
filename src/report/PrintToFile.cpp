#include "report/PrintToFile.h"

#include "data/SafeWrite.h"
#include "platform/Ui.h"

#include <QPrinter>

#include <cerrno>

namespace lumetra {

bool PrintSafely(QPrinter& printer, Ui& ui, const std::string& failed,
                 const std::function<bool(QPrinter&)>& print) {
    const QString file = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || file.isEmpty()) {
        if (print(printer))
            return true;
        ui.MessageBox(failed);
        return false;
    }
    // The printer writes the file SaveFile hands over, by its name in this process.
    bool printed = false;
    const std::string path = file.toStdString();
    const SaveResult result = SaveFile(path, [&](int fd) {
        printer.setOutputFileName(QString("/proc/self/fd/%1").arg(fd));
        printed = print(printer);
        printer.setOutputFileName(file);
        return printed ? 0 : EIO;
    });
    printer.setOutputFileName(file);
    if (result.Saved())
        return true;
    ui.MessageBox(printed || !result.refusal.empty() || result.err != EIO
                      ? SaveFailureMessage(path, result, failed)
                      : failed);
    return false;
}

} // namespace lumetra
