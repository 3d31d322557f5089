#pragma once

#include <optional>
#include <string>

namespace lumetra {

class Ui;

// A number typed into an entry field, checked as every such field checks it: trimmed, refused
// when empty ("<name> value may NOT be empty!"), checked by ValidateNumber, then refused unless
// the number conversion reads the whole of it ("1e", "+-1" and "." are no numbers) and the
// value lies within the range of numbers. Every refusal is shown through ui; nothing then. The
// caller's text is left trimmed.
std::optional<double> ReadEnteredNumber(Ui& ui, std::string& text, const char* name);

} // namespace lumetra
