// Any text, read by the number scanner and by the C library's strtod in the C locale: both take
// the same number of characters, and where they take a number it is the same double (bit for
// bit; any NaN matches any NaN of the same sign).
//
// The differences on purpose, none of which this target lets through:
// - strtod reads up to the first NUL; the scanner reads its bounded range, in which a NUL is a
//   character like any other that cannot be part of a number, so both stop there.
// - The decimal point is "." whatever the locale; strtod runs in the C locale here, so that is
//   no difference either.
// Out of range is not a difference: both give an infinity or the nearest subnormal (or zero).
#include "FuzzRequire.h"

#include "data/NumberScan.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

using namespace lumetra;

namespace {

bool SameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const std::string text(reinterpret_cast<const char*>(data), size);

    const char* p = text.data();
    double scanned = 0.0;
    const bool took = ScanDouble(p, text.data() + text.size(), scanned);

    char* stop = nullptr;
    const double expected = strtod_l(text.c_str(), &stop, cLocale);
    const bool cTook = stop != text.c_str();

    FUZZ_REQUIRE(took == cTook);
    if (!took)
        return 0;
    FUZZ_REQUIRE(p == text.data() + (stop - text.c_str()));
    FUZZ_REQUIRE(SameDouble(scanned, expected));
    return 0;
}
