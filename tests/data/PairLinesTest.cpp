#include "data/PairLines.h"
#include "data/NumberScan.h"
#include "platform/WorkSplit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace lumetra {
namespace {

// Pair lines as files hold them, and the odd ones a hand-edited file may: exponents, signs,
// missing fields, a lone CR inside a line, blank lines.
std::string PairBody(size_t lines) {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> v(-1e4, 1e4);
    std::string body;
    char buf[160];
    for (size_t k = 0; k < lines; ++k) {
        switch (k % 7) {
        case 0:
            std::snprintf(buf, sizeof buf, "%.17g\t%.17g\t%.6E\t%.6E", v(rng), v(rng), v(rng),
                          v(rng));
            break;
        case 1:
            std::snprintf(buf, sizeof buf, "%-16.5f\t%-16.5f", v(rng), v(rng));
            break;
        case 2:
            std::snprintf(buf, sizeof buf, "  +%.3e  %.9f \r %.2f", v(rng), v(rng), v(rng));
            break;
        case 3:
            buf[0] = '\0';
            break;
        case 4: { // an exact field that agrees with its shown value
            const double x = v(rng);
            std::snprintf(buf, sizeof buf, "%-16.5f\t%-16.5f\t0\t0\tx=%.17g", x, v(rng), x);
            break;
        }
        case 5: // one that a hand edit overrules
            std::snprintf(buf, sizeof buf, "%-16.5f\t1.00000\t0\t0\ty=%.17g", v(rng), v(rng));
            break;
        default:
            std::snprintf(buf, sizeof buf, "%.12f %.12f %.12f %.12f", v(rng), v(rng), v(rng),
                          v(rng));
        }
        body += buf;
        body += "\r\n";
    }
    return body;
}

std::vector<CXYdata> ReadInParts(const std::string& body, int parts,
                                 OverruledFields* overruled = nullptr) {
    const WorkPartsOverride split(parts);
    PairLinePlan plan;
    plan.begin = body.data();
    plan.end = body.data() + body.size();
    for (size_t at = body.find("\r\n"); at != std::string::npos; at = body.find("\r\n", at + 2))
        ++plan.lines;
    std::vector<CXYdata> pairs;
    const PairFieldFormats formats{CompiledFormat("%-16.5lf"), CompiledFormat("%-16.5lf")};
    OverruledFields lines;
    EXPECT_TRUE(ReadPairLines(
        plan, pairs, [](int) {}, &formats, 1, lines));
    if (overruled)
        *overruled = lines;
    return pairs;
}

TEST(PairLines, ParsedPairsAreTheSameBitsForAnyPartCount) {
    const size_t lines = 12000; // about 800 KB: worth 8 parts
    const std::string body = PairBody(lines);
    ASSERT_GT(body.size(), 8u * 64 * 1024);
    OverruledFields overruled;
    const std::vector<CXYdata> one = ReadInParts(body, 1, &overruled);
    ASSERT_EQ(one.size(), lines);
    EXPECT_EQ(one[3].m_dX, 0.0); // the blank line is a pair of zeros
    EXPECT_NE(one[4].m_dX, TextToDouble(CompiledFormat("%.5f").Format({one[4].m_dX})));
    EXPECT_EQ(one[5].m_dY, 1.0);
    EXPECT_EQ(overruled.count, (lines + 1) / 7); // every line 6, 13, 20 ...
    EXPECT_EQ(overruled.firstLine, 6u);
    for (int parts : {2, 3, 8}) {
        OverruledFields split;
        const std::vector<CXYdata> pairs = ReadInParts(body, parts, &split);
        ASSERT_EQ(pairs.size(), lines) << parts;
        EXPECT_EQ(std::memcmp(one.data(), pairs.data(), lines * sizeof(CXYdata)), 0) << parts;
        EXPECT_EQ(split.count, overruled.count) << parts;
        EXPECT_EQ(split.firstLine, 6u) << parts;
    }
    // One overruled line late in the body is named by its place in the whole body, whichever
    // part reads it.
    std::string late;
    for (size_t k = 0; k < lines; ++k)
        late += k == 11000 ? "1.00000\t2.00000\ty=3\r\n" : "1.00000         \t2.00000\r\n";
    for (int parts : {1, 2, 3, 8}) {
        OverruledFields split;
        ReadInParts(late, parts, &split);
        EXPECT_EQ(split.count, 1u) << parts;
        EXPECT_EQ(split.firstLine, 11001u) << parts;
    }
}

} // namespace
} // namespace lumetra
