#include "data/LineLimit.h"

#include "data/NumberFormat.h"

namespace lumetra {

std::string LongLineText(bool firstLine) {
    return (firstLine ? " contains" : "contains") + std::string(" lines longer than ") +
           FormatC("%d", {int(kMaxLineLen)}) + " characters\nwhich is this application's max!\n";
}

std::string LongLineMessage(const std::string& path, bool firstLine) {
    return "File " + path + ":\n" + LongLineText(firstLine);
}

} // namespace lumetra
