#include "data/NumberScan.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace lumetra {
namespace {

// strtod in the C locale, for what from_chars reports out of range (it gives no value then).
double CLocaleStrtod(const char* begin, const char* end, const char** stop) {
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    std::string copy(begin, end);
    char* e = nullptr;
    double v = strtod_l(copy.c_str(), &e, cLocale);
    *stop = begin + (e - copy.c_str());
    return v;
}

// The common case of a data file, "[digits][.digits]" with at most 15 significant digits and no
// exponent, converted exactly: a mantissa below 2^53 divided by an exact power of ten rounds
// once, so the result is the correctly rounded value strtod gives. Anything else returns false.
bool ScanPlainDecimal(const char*& p, const char* end, double& out) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    static constexpr unsigned long long kPow10Int[] = {1ULL,
                                                       10ULL,
                                                       100ULL,
                                                       1000ULL,
                                                       10000ULL,
                                                       100000ULL,
                                                       1000000ULL,
                                                       10000000ULL,
                                                       100000000ULL,
                                                       1000000000ULL,
                                                       10000000000ULL,
                                                       100000000000ULL,
                                                       1000000000000ULL,
                                                       10000000000000ULL,
                                                       100000000000000ULL,
                                                       1000000000000000ULL,
                                                       10000000000000000ULL,
                                                       100000000000000000ULL,
                                                       1000000000000000000ULL,
                                                       10000000000000000000ULL};
    auto isDigit = [](char c) { return unsigned(c - '0') < 10u; };
    // The whole and the fractional digits are two independent chains, so they overlap.
    const char* q = p;
    unsigned long long whole = 0, part = 0;
    while (q < end && isDigit(*q))
        whole = whole * 10 + unsigned(*q++ - '0');
    const long wholeDigits = q - p;
    long fraction = 0;
    if (q < end && *q == '.') {
        const char* first = ++q;
        while (q < end && isDigit(*q))
            part = part * 10 + unsigned(*q++ - '0');
        fraction = q - first;
    }
    // 19 digits cannot overflow the mantissa; below 2^53 it is exact as a double.
    if (wholeDigits + fraction == 0 || wholeDigits + fraction > 19)
        return false;
    const unsigned long long mantissa = whole * kPow10Int[fraction] + part;
    if (mantissa > (1ULL << 53))
        return false;
    if (q < end && (*q == 'e' || *q == 'E' || *q == 'x' || *q == 'X'))
        return false;
    out = double(mantissa) / kPow10[fraction];
    p = q;
    return true;
}

} // namespace

bool ScanDouble(const char*& p, const char* end, double& out) {
    while (p < end && IsCSpace(*p))
        ++p;
    const char* q = p;
    bool neg = false;
    if (q < end && (*q == '+' || *q == '-')) {
        neg = *q == '-';
        ++q;
    }
    if (q < end && (*q == '+' || *q == '-'))
        return false; // from_chars would take a second minus
    double v = 0.0;
    const char* stop = q;
    if (const char* fast = q; ScanPlainDecimal(fast, end, v)) {
        stop = fast;
    } else if (end - q >= 2 && q[0] == '0' && (q[1] == 'x' || q[1] == 'X')) {
        // Hexadecimal, rare in data, goes to strtod itself, given no more than the characters a
        // hex number can hold: from_chars reads a minus, "inf" or "nan" after the "0x" and an
        // exponent of "p+-13", which strtod does not.
        const char* token = q;
        auto inHex = [](char c) {
            return std::isxdigit(uint8_t(c)) || c == 'x' || c == 'X' || c == '.' || c == 'p' ||
                   c == 'P' || c == '+' || c == '-';
        };
        while (token < end && inHex(*token))
            ++token;
        v = CLocaleStrtod(q, token, &stop);
    } else {
        auto r = std::from_chars(q, end, v, std::chars_format::general);
        if (r.ec == std::errc::invalid_argument)
            return false;
        if (r.ec == std::errc::result_out_of_range)
            v = CLocaleStrtod(q, r.ptr, &stop);
        else
            stop = r.ptr;
    }
    out = neg ? -v : v;
    p = stop;
    return true;
}

bool ScanInt(const char*& p, const char* end, int& out) {
    while (p < end && IsCSpace(*p))
        ++p;
    const char* q = p;
    bool neg = false;
    if (q < end && (*q == '+' || *q == '-')) {
        neg = *q == '-';
        ++q;
    }
    if (q == end || *q < '0' || *q > '9')
        return false;
    long long v = 0;
    while (q < end && *q >= '0' && *q <= '9') {
        if (v <= INT_MAX)
            v = v * 10 + (*q - '0');
        ++q;
    }
    if (neg)
        v = -v;
    out = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
    p = q;
    return true;
}

void TrimCSpace(std::string& text) {
    size_t end = text.size();
    while (end > 0 && IsCSpace(text[end - 1]))
        --end;
    size_t begin = 0;
    while (begin < end && IsCSpace(text[begin]))
        ++begin;
    text = text.substr(begin, end - begin);
}

bool ReadWholeNumber(std::string_view text, int& value) {
    const char* p = text.data();
    const char* end = p + text.size();
    int v = 0;
    if (!ScanInt(p, end, v))
        return false;
    while (p < end && IsCSpace(*p))
        ++p;
    if (p != end)
        return false;
    value = v;
    return true;
}

double TextToDouble(std::string_view text) {
    const char* p = text.data();
    double v = 0.0;
    return ScanDouble(p, text.data() + text.size(), v) ? v : 0.0;
}

int TextToInt(std::string_view text) {
    const char* p = text.data();
    int v = 0;
    return ScanInt(p, text.data() + text.size(), v) ? v : 0;
}

} // namespace lumetra
