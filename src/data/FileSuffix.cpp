#include "data/FileSuffix.h"

namespace lumetra {

bool HasFileSuffix(std::string_view path, std::string_view suffix) {
    const size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() <= suffix.size())
        return false;
    const std::string_view tail = name.substr(name.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        const char c = tail[i];
        // ASCII only: the user's locale must not change what a suffix is.
        if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != suffix[i])
            return false;
    }
    return true;
}

} // namespace lumetra
