// Any text as typed into a number field. The check trims it, and either accepts it silently or
// refuses it with exactly one of its messages.
#include "FuzzRequire.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "support/RecordingUi.h"

#include <cstdint>
#include <string_view>

using namespace lumetra;

namespace {

bool IsRefusal(const std::string& text) {
    for (const char* fixed : {"Double negatives are NOT allowed!", "Negative sign must be 1st!",
                              "Double plus signs are NOT allowed!", "Plus sign must be 1st!",
                              "Only one decimal point is allowed!"})
        if (text == fixed)
            return true;
    constexpr std::string_view tail = "' is NOT a valid number character!";
    return text.size() == 1 + 1 + tail.size() && text[0] == '\'' &&
           std::string_view(text).substr(2) == tail;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    std::string text = typed;
    test::RecordingUi ui;
    const bool ok = CLumetraDoc::ValidateNumber(ui, text);

    FUZZ_REQUIRE(typed.find(text) != std::string::npos);
    FUZZ_REQUIRE(text.empty() || (!IsCSpace(text.front()) && !IsCSpace(text.back())));
    if (!ok) {
        FUZZ_REQUIRE(ui.messages.size() == 1);
        FUZZ_REQUIRE(IsRefusal(ui.messages[0].text));
        return 0;
    }
    FUZZ_REQUIRE(ui.messages.empty());
    for (char c : text)
        FUZZ_REQUIRE((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' ||
                     c == 'E');
    // The caller's conversion takes what it can of any accepted text.
    (void)TextToDouble(text);
    return 0;
}
