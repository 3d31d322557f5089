#include "data/PairLines.h"
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
        default:
            std::snprintf(buf, sizeof buf, "%.12f %.12f %.12f %.12f", v(rng), v(rng), v(rng),
                          v(rng));
        }
        body += buf;
        body += "\r\n";
    }
    return body;
}

std::vector<CXYdata> ReadInParts(const std::string& body, int parts) {
    const WorkPartsOverride split(parts);
    PairLinePlan plan;
    plan.begin = body.data();
    plan.end = body.data() + body.size();
    for (size_t at = body.find("\r\n"); at != std::string::npos; at = body.find("\r\n", at + 2))
        ++plan.lines;
    std::vector<CXYdata> pairs;
    EXPECT_TRUE(ReadPairLines(plan, pairs, [](int) {}));
    return pairs;
}

TEST(PairLines, ParsedPairsAreTheSameBitsForAnyPartCount) {
    const size_t lines = 12000; // about 800 KB: worth 8 parts
    const std::string body = PairBody(lines);
    ASSERT_GT(body.size(), 8u * 64 * 1024);
    const std::vector<CXYdata> one = ReadInParts(body, 1);
    ASSERT_EQ(one.size(), lines);
    EXPECT_EQ(one[3].m_dX, 0.0); // the blank line is a pair of zeros
    for (int parts : {2, 3, 8}) {
        const std::vector<CXYdata> split = ReadInParts(body, parts);
        ASSERT_EQ(split.size(), lines) << parts;
        EXPECT_EQ(std::memcmp(one.data(), split.data(), lines * sizeof(CXYdata)), 0) << parts;
    }
}

} // namespace
} // namespace lumetra
