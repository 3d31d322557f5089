#include "dataentry/PastePairs.h"

#include "dataentry/ImportFile.h"

namespace lumetra {

std::string PasteTextForImport(std::string_view text) {
    return HoldsAnyNumber(text.data(), text.size()) ? std::string(text) : std::string();
}

} // namespace lumetra
