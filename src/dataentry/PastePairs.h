#pragma once

#include <string>
#include <string_view>

namespace lumetra {

// Text from the clipboard for the importer, which reads it as it reads a file (the same line
// ends, headings, separators and messages): empty when no line of it holds a number.
std::string PasteTextForImport(std::string_view text);

// How the importer's messages name pasted text.
inline constexpr const char* kPastedTextSource = "The pasted text";

inline constexpr const char* kNothingToPasteMessage =
    "The clipboard holds no X/Y pairs to paste!\n"
    "Copy two columns of numbers, such as cells of a spreadsheet, first.";

} // namespace lumetra
