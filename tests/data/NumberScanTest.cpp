#include "data/NumberScan.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <string>

namespace lumetra {
namespace {

struct Scanned {
    bool ok;
    double value;
    size_t consumed;
};

Scanned Scan(const std::string& text) {
    const char* p = text.data();
    double v = -99.0;
    bool ok = ScanDouble(p, text.data() + text.size(), v);
    return {ok, v, size_t(p - text.data())};
}

TEST(NumberScan, DoublesAsScanfReadsThem) {
    Scanned s = Scan("  \t+1.5e3x");
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.value, 1500.0);
    EXPECT_EQ(s.consumed, 9u);

    EXPECT_EQ(Scan("-2.25").value, -2.25);
    EXPECT_EQ(Scan("1.23450E+003").value, 1234.5);
    EXPECT_EQ(Scan("1.5E+0003").value, 1500.0); // any number of exponent digits
    EXPECT_EQ(Scan("0x1p3").value, 8.0);
    EXPECT_EQ(Scan("-0x10").value, -16.0);
    EXPECT_EQ(Scan(".5").value, 0.5);
    EXPECT_TRUE(std::isinf(Scan("inf").value));
    EXPECT_TRUE(std::isinf(Scan("-Infinity").value) && Scan("-Infinity").value < 0);
    EXPECT_TRUE(std::isnan(Scan("nan").value));
    EXPECT_TRUE(std::isinf(Scan("1e400").value));
    EXPECT_EQ(Scan("-1e-400").value, 0.0);
    EXPECT_GT(Scan("1e-320").value, 0.0); // subnormal, not zero
}

// Where the C library's strtod reads only the zero of a "0x": found by the differential fuzzer.
TEST(NumberScan, AHexPrefixWithoutHexDigitsIsTheZeroBeforeIt) {
    for (const char* text : {"0x-1", "0x-1p3", "-0X-8", "0xnan", "0xinf", "0x", "0xg", "0x.p1"}) {
        const Scanned s = Scan(text);
        EXPECT_TRUE(s.ok) << text;
        EXPECT_EQ(s.value, 0.0) << text;
        EXPECT_EQ(s.consumed, text[0] == '-' ? 2u : 1u) << text;
    }
    // And an exponent of two signs is no exponent.
    EXPECT_EQ(Scan("0x1p+-13").value, 1.0);
    EXPECT_EQ(Scan("0x1p+-13").consumed, 3u);
    EXPECT_EQ(Scan("0x1.8p+1").value, 3.0);
}

TEST(NumberScan, FailuresLeaveTheValueAndStopAfterBlanks) {
    Scanned s = Scan("   abc");
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.value, -99.0);
    EXPECT_EQ(s.consumed, 3u);
    EXPECT_FALSE(Scan("").ok);
    EXPECT_FALSE(Scan("--1").ok);
    EXPECT_FALSE(Scan("+").ok);
}

TEST(NumberScan, TheRangeEndIsRespected) {
    const std::string text = "12345";
    const char* p = text.data();
    double v = 0;
    ASSERT_TRUE(ScanDouble(p, text.data() + 2, v));
    EXPECT_EQ(v, 12.0);
}

TEST(NumberScan, Integers) {
    auto scanInt = [](const std::string& t, int& v) {
        const char* p = t.data();
        return ScanInt(p, t.data() + t.size(), v);
    };
    int v = 5;
    EXPECT_TRUE(scanInt(" 42 ", v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(scanInt("-7", v));
    EXPECT_EQ(v, -7);
    EXPECT_TRUE(scanInt("+3.9", v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(scanInt("99999999999", v));
    EXPECT_EQ(v, INT_MAX);
    EXPECT_TRUE(scanInt("-99999999999", v));
    EXPECT_EQ(v, INT_MIN);
    v = 5;
    EXPECT_FALSE(scanInt("x1", v));
    EXPECT_FALSE(scanInt("-", v));
    EXPECT_EQ(v, 5);
}

TEST(NumberScan, TextConversionsGiveZeroForNothing) {
    EXPECT_EQ(TextToDouble("abc"), 0.0);
    EXPECT_EQ(TextToDouble(" 7xyz"), 7.0);
    EXPECT_EQ(TextToInt("3.7"), 3);
    EXPECT_EQ(TextToInt(" -12abc"), -12);
    EXPECT_EQ(TextToInt(""), 0);
}

TEST(NumberScan, WholeNumbersAsAnIntegerFieldTakesThem) {
    int v = 9;
    EXPECT_TRUE(ReadWholeNumber(" 12 ", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(ReadWholeNumber("-3", v));
    EXPECT_EQ(v, -3);
    EXPECT_TRUE(ReadWholeNumber("+0", v));
    EXPECT_EQ(v, 0);
    v = 9;
    for (const char* bad : {"", "  ", "3.7", "1e2", "12a", "a12", "--1", "1 2"})
        EXPECT_FALSE(ReadWholeNumber(bad, v)) << bad;
    EXPECT_EQ(v, 9);
}

TEST(NumberScan, ReadsAPointInACommaLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine";
    const double v = TextToDouble("1.5");
    const double big = Scan("1e400").value;
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(v, 1.5);
    EXPECT_TRUE(std::isinf(big));
}

} // namespace
} // namespace lumetra
