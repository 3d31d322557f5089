#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "dataentry/ImportFile.h"

#include <ostream>

namespace lumetra::cli {

int RunImport(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    file.doc.OnNewDocument();
    const ImportResult result = ImportFile(file.doc, file.ui, args.file, nullptr);
    if (result.imported == 0) {
        io.err << "No X/Y pairs were imported from " << args.file << "; nothing saved.\n";
        return kFailed;
    }
    return FitPrintAndSave(file, args, io);
}

} // namespace lumetra::cli
