#include "data/LineLimit.h"

#include "data/NumberFormat.h"

namespace lumetra {

std::string LongLineMessage(const std::string& path, bool firstLine) {
    return "File " + path + (firstLine ? ":\n contains" : ":\ncontains") + " lines longer than " +
           FormatC("%d", {int(kMaxLineLen)}) + " characters\nwhich is this application's max!\n";
}

} // namespace lumetra
