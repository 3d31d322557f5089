#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "dataentry/ImportFile.h"

#include <ostream>

namespace lumetra::cli {

int RunImport(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    file.doc.OnNewDocument();
    const ImportResult result =
        ImportFile(file.doc, file.ui, args.file, nullptr,
                   args.skipBadLines ? BadLines::Skip : BadLines::Stop, args.sigmaColumn);
    if (result.imported == 0) {
        io.err << "No X/Y pairs were imported from " << args.file << "; nothing saved.\n";
        return kFailed;
    }
    // A batch run saves all of a file or nothing.
    if (!result.complete) {
        io.err << "Not every line of " << args.file << " was read; nothing saved.\n";
        if (result.notPairsStopped)
            io.err << "--skip-bad-lines skips the lines that are not X/Y pairs.\n";
        return kFailed;
    }
    return FitPrintAndSave(file, args, io);
}

} // namespace lumetra::cli
