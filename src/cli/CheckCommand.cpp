#include "cli/Commands.h"

#include "data/DocumentSummary.h"
#include "data/LumetraDoc.h"
#include "platform/ConsoleUi.h"
#include "platform/MemorySettingsStore.h"

#include <ostream>

namespace lumetra::cli {

int RunCheck(const std::vector<std::string>& args, Streams io) {
    if (args.size() != 1) {
        io.err << "usage: lumetra-cli check FILE\n";
        return kUsage;
    }
    ConsoleUi ui(io.err);
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    if (!doc.OnOpenDocument(args[0]))
        return kFailed;
    io.out << DescribeDocument(doc);
    return kOk;
}

} // namespace lumetra::cli
