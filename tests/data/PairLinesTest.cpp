#include "data/PairLines.h"
#include "data/NumberScan.h"
#include "platform/WorkSplit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
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

// Field by field: the bytes that pad a pair hold whatever the reading thread left there.
bool SamePairs(const std::vector<CXYdata>& a, const std::vector<CXYdata>& b) {
    auto bits = [](const CXYdata& p) {
        return std::array{std::bit_cast<std::uint64_t>(p.m_dX),
                          std::bit_cast<std::uint64_t>(p.m_dY),
                          std::bit_cast<std::uint64_t>(p.m_dComputed),
                          std::bit_cast<std::uint64_t>(p.m_dDifference),
                          std::bit_cast<std::uint64_t>(p.m_dSigma),
                          std::uint64_t(p.m_bExcluded)};
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](const CXYdata& p, const CXYdata& q) { return bits(p) == bits(q); });
}

std::vector<CXYdata> ReadInParts(const std::string& body, int parts,
                                 PairLineNotes* notes = nullptr) {
    const WorkPartsOverride split(parts);
    PairLinePlan plan;
    plan.begin = body.data();
    plan.end = body.data() + body.size();
    for (size_t at = body.find("\r\n"); at != std::string::npos; at = body.find("\r\n", at + 2))
        ++plan.lines;
    std::vector<CXYdata> pairs;
    const PairFieldFormats formats{CompiledFormat("%-16.5lf"), CompiledFormat("%-16.5lf")};
    PairLineNotes lines;
    EXPECT_TRUE(ReadPairLines(
        plan, pairs, [](int) {}, &formats, 1, lines));
    if (notes)
        *notes = lines;
    return pairs;
}

TEST(PairLines, ParsedPairsAreTheSameBitsForAnyPartCount) {
    const size_t lines = 12000; // about 800 KB: worth 8 parts
    const std::string body = PairBody(lines);
    ASSERT_GT(body.size(), 8u * 64 * 1024);
    PairLineNotes notes;
    const std::vector<CXYdata> one = ReadInParts(body, 1, &notes);
    const OverruledFields& overruled = notes.overruled;
    ASSERT_EQ(one.size(), lines);
    EXPECT_EQ(one[3].m_dX, 0.0); // the blank line is a pair of zeros
    EXPECT_NE(one[4].m_dX, TextToDouble(CompiledFormat("%.5f").Format({one[4].m_dX})));
    EXPECT_EQ(one[5].m_dY, 1.0);
    EXPECT_EQ(overruled.count, (lines + 1) / 7); // every line 6, 13, 20 ...
    EXPECT_EQ(overruled.firstLine, 6u);
    for (int parts : {2, 3, 8}) {
        PairLineNotes split;
        const std::vector<CXYdata> pairs = ReadInParts(body, parts, &split);
        ASSERT_EQ(pairs.size(), lines) << parts;
        EXPECT_TRUE(SamePairs(one, pairs)) << parts;
        EXPECT_EQ(split.overruled.count, overruled.count) << parts;
        EXPECT_EQ(split.overruled.firstLine, 6u) << parts;
    }
    // An overruled line and unknown exclusion marks late in the body are named by their place in
    // the whole body, whichever part reads them; an excluded pair is read so.
    std::string late;
    for (size_t k = 0; k < lines; ++k)
        late += k == 11000   ? "1.00000\t2.00000\ty=3\r\n"
                : k == 11500 ? "1\t2\texcluded=2\r\n"
                : k == 11900 ? "1\t2\texcluded=1\r\n"
                             : "1.00000         \t2.00000\r\n";
    for (int parts : {1, 2, 3, 8}) {
        PairLineNotes split;
        const std::vector<CXYdata> pairs = ReadInParts(late, parts, &split);
        EXPECT_EQ(split.overruled.count, 1u) << parts;
        EXPECT_EQ(split.overruled.firstLine, 11001u) << parts;
        EXPECT_EQ(split.unknownExclusion.count, 1u) << parts;
        EXPECT_EQ(split.unknownExclusion.firstLine, 11501u) << parts;
        EXPECT_EQ(std::count_if(pairs.begin(), pairs.end(),
                                [](const CXYdata& p) { return p.m_bExcluded; }),
                  1)
            << parts;
        EXPECT_TRUE(pairs[11900].m_bExcluded) << parts;
    }
}

} // namespace
} // namespace lumetra
