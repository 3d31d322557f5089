#include "data/Utf8Text.h"

namespace lumetra {
namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The bytes a lead byte announces; 1 for a byte that cannot lead.
size_t AnnouncedBytes(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF)
        return 2;
    if (c >= 0xE0 && c <= 0xEF)
        return 3;
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    return 1;
}

} // namespace

size_t Utf8CharBytes(std::string_view text) {
    if (text.empty())
        return 0;
    const size_t announced = AnnouncedBytes(static_cast<unsigned char>(text[0]));
    if (announced > text.size())
        return 1;
    for (size_t i = 1; i < announced; ++i)
        if (!IsContinuation(static_cast<unsigned char>(text[i])))
            return 1;
    return announced;
}

size_t Utf8Length(std::string_view text) {
    size_t chars = 0;
    while (!text.empty()) {
        text.remove_prefix(Utf8CharBytes(text));
        ++chars;
    }
    return chars;
}

std::string_view Utf8Prefix(std::string_view text, size_t chars) {
    size_t bytes = 0;
    for (size_t n = 0; n < chars && bytes < text.size(); ++n)
        bytes += Utf8CharBytes(text.substr(bytes));
    return text.substr(0, bytes);
}

} // namespace lumetra
