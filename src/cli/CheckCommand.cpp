#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "data/DocumentSummary.h"
#include "data/LumetraDoc.h"

#include <ostream>

namespace lumetra::cli {

int RunCheck(const std::vector<std::string>& args, Streams io) {
    if (args.size() != 1) {
        io.err << "usage: lumetra-cli check FILE\n";
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(args[0]))
        return kFailed;
    CLumetraDoc& doc = file.doc;
    io.out << DescribeDocument(doc);
    return kOk;
}

} // namespace lumetra::cli
