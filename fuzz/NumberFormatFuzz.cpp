// One printf directive built from the input (flags, width, precision, conversion, argument),
// written by FormatC and by the C library's snprintf: the same text, but for the program's rule
// that every exponent has at least three digits within the same field width (the digits added
// take the place of padding where there is any).
//
// The differences on purpose, kept out of the inputs:
// - What C leaves undefined is not asked: flags other than '-' on %s and %c, '#' on integers,
//   a precision on %c.
// - Length modifiers are read and ignored: an integer argument is always a long long (the C side
//   is given "ll"), so %hd never truncates; %u is given non-negative values only, since a
//   negative one has no unsigned value without a length.
// - The decimal point is "." whatever the locale; this target runs in the C locale, where that
//   is no difference.
#include "FuzzRequire.h"

#include "data/NumberFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

using namespace lumetra;

namespace {

struct Directive {
    std::string flags;
    int width = 0;
    int precision = -1;
    char conv = 'f';
};

std::string CFormat(const Directive& d, bool withWidth) {
    std::string f = "%" + d.flags;
    if (withWidth && d.width > 0)
        f += std::to_string(d.width);
    if (d.precision >= 0)
        f += "." + std::to_string(d.precision);
    if (std::strchr("diu", d.conv))
        f += "ll";
    return f + d.conv;
}

template <class T> std::string CPrint(const std::string& format, T value) {
    const int n = std::snprintf(nullptr, 0, format.c_str(), value);
    FUZZ_REQUIRE(n >= 0);
    std::string out(size_t(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), value);
    out.resize(size_t(n));
    return out;
}

// snprintf's text with the exponent widened to three digits; the digits added take the place of
// as much of the padding as there is.
std::string WidenedReference(const Directive& d, double value) {
    std::string full = CPrint(CFormat(d, true), value);
    const bool exponential = std::strchr("eEgG", d.conv) && std::isfinite(value);
    const size_t e = full.find_last_of("eE");
    if (!exponential || e == std::string::npos)
        return full;
    size_t digits = 0;
    while (e + 2 + digits < full.size() && full[e + 2 + digits] >= '0' &&
           full[e + 2 + digits] <= '9')
        ++digits;
    if (digits >= 3)
        return full;
    const size_t added = 3 - digits;
    const size_t padding = full.size() - CPrint(CFormat(d, false), value).size();
    full.insert(e + 2, added, '0');
    const size_t drop = std::min(added, padding);
    if (d.flags.find('-') != std::string::npos) {
        full.erase(full.size() - drop);
    } else if (d.flags.find('0') != std::string::npos) {
        const size_t sign = full[0] == '-' || full[0] == '+' || full[0] == ' ' ? 1 : 0;
        full.erase(sign, drop);
    } else {
        full.erase(0, drop);
    }
    return full;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5)
        return 0;
    Directive d;
    for (int bit = 0; bit < 5; ++bit)
        if (data[0] & (1 << bit))
            d.flags += "-+ 0#"[bit];
    d.width = data[1];
    if (data[2] & 0x80)
        d.precision = (data[2] & 0x07) * 256 + data[3];
    static constexpr char kConversions[] = "diufFeEgGsc";
    d.conv = kConversions[data[4] % (sizeof kConversions - 1)];
    data += 5;
    size -= 5;
    // What C leaves undefined stays out: flags but '-' on text, '#' on integers, a precision on
    // a character.
    auto drop = [&d](const char* flags) {
        for (const char* f = flags; *f; ++f)
            if (const size_t at = d.flags.find(*f); at != std::string::npos)
                d.flags.erase(at, 1);
    };
    if (d.conv == 's' || d.conv == 'c')
        drop("+ 0#");
    if (std::strchr("diu", d.conv))
        drop("#");
    if (d.conv == 'c')
        d.precision = -1;

    const std::string format = CFormat(d, true);
    std::string expected, got;
    if (std::strchr("fFeEgG", d.conv)) {
        uint64_t bits = 0;
        std::memcpy(&bits, data, std::min(size, sizeof bits));
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        expected = WidenedReference(d, value);
        got = FormatC(format, {value});
    } else if (d.conv == 's') {
        const char* chars = reinterpret_cast<const char*>(data);
        const std::string text(chars, strnlen(chars, size));
        expected = CPrint(format, text.c_str());
        got = FormatC(format, {text});
    } else {
        long long value = 0;
        std::memcpy(&value, data, std::min(size, sizeof value));
        if (d.conv == 'u' && value < 0)
            value = -(value + 1);
        if (d.conv == 'c')
            value = (unsigned char)value;
        expected = d.conv == 'c' ? CPrint(format, int(value)) : CPrint(format, value);
        got = FormatC(format, {value});
    }
    if (got != expected)
        std::fprintf(stderr, "format %s: FormatC '%s', C '%s'\n", format.c_str(), got.c_str(),
                     expected.c_str());
    FUZZ_REQUIRE(got == expected);
    return 0;
}
