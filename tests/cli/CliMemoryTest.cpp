// lumetra-cli on 1,000,000 pairs with little memory: a command ends with its work done, or with a
// message and status 1, never with an abort; the file it writes is the earlier one or complete.
// (How much memory a picture takes is measured by bench_datafile.)
#include "data/LumetraDoc.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

namespace lumetra {
namespace {

constexpr int kPairs = 1000000;

struct CliMemory : test::CliTest {
    static test::TempDir* s_dir;
    static std::string s_data;

    // Y = 2X + 1 with scatter, so that residuals fill the plot.
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        test::RecordingUi quiet;
        MemorySettingsStore store;
        CLumetraDoc doc(quiet, store);
        test::FillExample(doc);
        doc.m_strDataTitle = "Million";
        std::mt19937 random(24);
        std::normal_distribution<double> scatter(0.0, 5.0);
        doc.m_pPairs.resize(kPairs);
        for (int k = 0; k < kPairs; ++k) {
            const double x = k * 0.001, y = 2.0 * x + 1.0 + scatter(random);
            doc.m_pPairs[size_t(k)] = {x, y, 2.0 * x + 1.0, y - (2.0 * x + 1.0)};
        }
        doc.m_nPairs = kPairs;
        s_data = s_dir->Path("million.dat");
        ASSERT_TRUE(doc.OnSaveDocument(s_data));
    }
    static void TearDownTestSuite() { delete s_dir; }

    void SetUp() override {
        // Qt warns on stderr without a runtime directory; give it one.
        ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    }
};

test::TempDir* CliMemory::s_dir = nullptr;
std::string CliMemory::s_data;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What a complete file of each kind ends with.
bool Complete(const std::string& name, const std::string& bytes) {
    if (EndsWith(name, ".csv"))
        return std::count(bytes.begin(), bytes.end(), '\n') == kPairs + 1;
    if (EndsWith(name, ".txt"))
        return EndsWith(bytes, "****\n");
    if (EndsWith(name, ".png"))
        return EndsWith(bytes, std::string("IEND\xae\x42\x60\x82", 8));
    if (EndsWith(name, ".svg"))
        return EndsWith(bytes, "</svg>\n");
    return bytes.rfind("%PDF-", 0) == 0 && EndsWith(bytes, "%%EOF\n");
}

TEST_F(CliMemory, EveryPictureAndTableEndsWellOrSaysItRanOutWithTheEarlierFileKept) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own mappings need the address space this test takes away";
#endif
    struct Case {
        const char* command;
        const char* out;
        const char* options;
        std::vector<int> megabytes; // limits of the address space
    };
    const Case cases[] = {
        {"export", "t.csv", "", {150, 200, 400}},
        {"export", "t.txt", "", {180, 240}},
        {"plot", "p.png", "", {160, 200}},
        {"plot", "p.png", "--bands", {190, 300}},
        {"plot", "p.png", "--residuals", {176, 260}},
        {"plot", "p.svg", "--residuals", {170, 190, 220}},
        {"plot", "p.svg", "--bands", {200}},
        {"plot", "p.pdf", "--bands", {185, 250}},
        {"plot", "p.pdf", "--residuals", {150, 210}},
    };
    for (const Case& c : cases) {
        for (int megabytes : c.megabytes) {
            const std::string out = dir.Write(c.out, "the earlier file");
            const test::CliResult r = test::RunCli(
                std::string(c.command) + " " + s_data + " --out " + out + " " + c.options,
                dir.Path("err.txt"), "ulimit -v " + std::to_string(megabytes * 1024) + "; ");
            const std::string what =
                std::string(c.out) + " " + c.options + " in " + std::to_string(megabytes) + " MB";
            const std::string now = test::TempDir::Read(out);
            if (r.status == 0) {
                EXPECT_TRUE(Complete(c.out, now)) << what;
                // An SVG draws what a pixel can show: a path a batch of lines, not one a pair.
                size_t paths = 0;
                for (size_t at = now.find("<path"); at != std::string::npos;
                     at = now.find("<path", at + 1))
                    ++paths;
                EXPECT_TRUE(!EndsWith(c.out, ".svg") || paths < size_t(kPairs) / 1000) << what;
            } else {
                EXPECT_EQ(r.status, 1) << what << ": " << r.err; // 134 would be an abort
                EXPECT_NE(r.err.find("emory"), std::string::npos) << what << ": " << r.err;
                EXPECT_EQ(now, "the earlier file") << what;
            }
            // Nothing half-written is left beside it.
            std::vector<std::string> names;
            for (const auto& e : std::filesystem::directory_iterator(dir.path()))
                names.push_back(e.path().filename().string());
            std::vector<std::string> expected = {c.out, "err.txt"};
            std::sort(names.begin(), names.end());
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(names, expected) << what;
            std::filesystem::remove(out);
        }
    }
}

// The order table of a million pairs: the table, or the message and status 1.
TEST_F(CliMemory, TheOrderTableEndsWellOrSaysItRanOut) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own mappings need the address space this test takes away";
#endif
    int ended = 0, ranOut = 0;
    for (int megabytes : {120, 170, 400}) {
        const test::CliResult r =
            test::RunCli("orders " + s_data, dir.Path("err.txt"),
                         "ulimit -v " + std::to_string(megabytes * 1024) + "; ");
        const std::string what = std::to_string(megabytes) + " MB: " + r.err;
        if (r.status == 0) {
            ++ended;
            EXPECT_NE(r.out.find(" favour"), std::string::npos) << what;
        } else {
            ++ranOut;
            EXPECT_EQ(r.status, 1) << what; // 134 would be an abort
            EXPECT_NE(r.err.find("emory"), std::string::npos) << what;
        }
    }
    EXPECT_GE(ended, 1);
    EXPECT_GE(ranOut, 1);
}

} // namespace
} // namespace lumetra
