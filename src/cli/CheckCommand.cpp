#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "data/DocumentSummary.h"

#include <ostream>

namespace lumetra::cli {

int RunCheck(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    io.out << DescribeDocument(file.doc);
    return kOk;
}

} // namespace lumetra::cli
