#include "data/EnteredNumber.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "platform/Ui.h"

#include <cmath>

namespace lumetra {

std::optional<double> ReadEnteredNumber(Ui& ui, std::string& text, const char* name) {
    TrimCSpace(text);
    if (text.empty()) {
        ui.MessageBox(std::string(name) + " value may NOT be empty!");
        return std::nullopt;
    }
    if (!CLumetraDoc::ValidateNumber(ui, text))
        return std::nullopt;
    const char* p = text.data();
    const char* const end = p + text.size();
    double value = 0.0;
    if (!ScanDouble(p, end, value) || p != end) {
        ui.MessageBox("'" + text + "' is NOT a valid number!");
        return std::nullopt;
    }
    if (!std::isfinite(value)) {
        ui.MessageBox("Value is beyond the range of numbers (about 1.8E+308)!");
        return std::nullopt;
    }
    return value;
}

} // namespace lumetra
