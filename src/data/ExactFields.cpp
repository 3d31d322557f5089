#include "data/ExactFields.h"

#include "data/NumberFormat.h"
#include "data/NumberScan.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace lumetra {

std::string ShortestText(double value) {
    std::array<char, 32> buffer;
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string();
}

void AppendExactField(std::string& line, std::string_view name, double shown, double value) {
    // Bit for bit, so that even the sign of a zero survives.
    if (std::bit_cast<std::uint64_t>(shown) == std::bit_cast<std::uint64_t>(value))
        return;
    ((line += '\t') += name) += '=';
    line += ShortestText(value);
}

std::string_view FieldText(std::string_view rest, std::string_view name) {
    for (size_t at = rest.find('\t'); at != std::string_view::npos; at = rest.find('\t', at + 1)) {
        const std::string_view field = rest.substr(at + 1);
        if (field.size() > name.size() && field.substr(0, name.size()) == name &&
            field[name.size()] == '=') {
            std::string_view text = field.substr(name.size() + 1);
            text = text.substr(0, text.find('\t'));
            while (!text.empty() && IsCSpace(text.back()))
                text.remove_suffix(1);
            return text;
        }
    }
    return {};
}

FieldUse TakeExactField(std::string_view rest, std::string_view name,
                        const CompiledFormat& shownFormat, double& value) {
    // Lines without fields are the rule; they cost one search for '='.
    if (rest.find('=') == std::string_view::npos)
        return FieldUse::Absent;
    const std::string_view text = FieldText(rest, name);
    if (text.empty())
        return FieldUse::Absent;
    const char* p = text.data();
    const char* end = p + text.size();
    double exact = 0.0;
    if (!ScanDouble(p, end, exact) || p != end || !std::isfinite(exact) ||
        TextToDouble(shownFormat.Format({exact})) != value)
        return FieldUse::Overruled;
    value = exact;
    return FieldUse::Taken;
}

void OverruledFields::Add(size_t line) {
    firstLine = count == 0 ? line : std::min(firstLine, line);
    ++count;
}

void OverruledFields::Add(const OverruledFields& other) {
    if (other.count == 0)
        return;
    firstLine = count == 0 ? other.firstLine : std::min(firstLine, other.firstLine);
    count += other.count;
}

std::string OverruledFieldsNote(const std::string& path, const OverruledFields& overruled) {
    if (overruled.count == 1)
        return FormatC("File %s:\nline %d shows a value that differs from the exact value stored "
                       "beside it.\nThe value shown is taken.",
                       {path, (long long)overruled.firstLine});
    return FormatC("File %s:\n%d values shown differ from the exact values stored beside them, "
                   "the first on line %d.\nThe values shown are taken.",
                   {path, (long long)overruled.count, (long long)overruled.firstLine});
}

} // namespace lumetra
