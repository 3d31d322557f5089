#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "platform/Ui.h"

namespace lumetra {

// Syntax only: the caller's conversion then takes what it can (so "1e2e3" passes here).
bool CLumetraDoc::ValidateNumber(Ui& ui, std::string& text) {
    TrimCSpace(text);

    bool minus = false, plus = false, point = false, digit = false;
    auto reject = [&ui](const std::string& message) {
        ui.MessageBox(message, Ui::Buttons::Ok, Ui::Icon::Exclamation);
        return false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool afterExponent = i > 0 && (text[i - 1] == 'e' || text[i - 1] == 'E');
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '-' || c == '+') {
            if (afterExponent)
                continue;
            bool& seen = c == '-' ? minus : plus;
            if (seen)
                return reject(c == '-' ? "Double negatives are NOT allowed!"
                                       : "Double plus signs are NOT allowed!");
            if (digit)
                return reject(c == '-' ? "Negative sign must be 1st!" : "Plus sign must be 1st!");
            seen = true;
        } else if (c == '.') {
            if (point)
                return reject("Only one decimal point is allowed!");
            point = true;
        } else if ((c == 'e' || c == 'E') && digit) {
            continue;
        } else {
            return reject(std::string("'") + c + "' is NOT a valid number character!");
        }
    }
    return true;
}

} // namespace lumetra
