#pragma once

#include <cstddef>
#include <string_view>

namespace lumetra {

// Titles are UTF-8 text: a cell is centred, padded and cut by characters, never inside one.
// A byte that does not start a well-formed sequence counts as one character of its own.

// The number of characters of the text.
size_t Utf8Length(std::string_view text);

// The first `chars` characters of the text (all of it when it is shorter).
std::string_view Utf8Prefix(std::string_view text, size_t chars);

// The length in bytes of the character that starts at text[0]; 0 for an empty text.
size_t Utf8CharBytes(std::string_view text);

} // namespace lumetra
