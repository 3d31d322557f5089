#pragma once

#include <string_view>

namespace lumetra {

// Whether the file name at the end of the path ends in the suffix (given in lower case, such as
// ".csv") in any case, with a name before it: a bare ".csv" names no file.
bool HasFileSuffix(std::string_view path, std::string_view suffix);

} // namespace lumetra
