#pragma once

#include <string>
#include <string_view>

namespace lumetra {

// Text from the clipboard made ready for the importer: every line end (LF, CR LF or CR) becomes
// CR LF, a last line without one gets one, and the lines before the first pair that do not begin
// with a number (the column headings a spreadsheet copies, blank lines) are left out. Empty when
// no line begins with a number.
std::string PasteTextForImport(std::string_view text);

// How the importer's messages name pasted text.
inline constexpr const char* kPastedTextSource = "The pasted text";

inline constexpr const char* kNothingToPasteMessage =
    "The clipboard holds no X/Y pairs to paste!\n"
    "Copy two columns of numbers, such as cells of a spreadsheet, first.";

} // namespace lumetra
