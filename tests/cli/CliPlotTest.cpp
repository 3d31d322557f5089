#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace lumetra {
namespace {

struct CliPlot : test::CliTest {
    void SetUp() override {
        // Qt warns on stderr without a runtime directory; give it one, so stderr holds only ours.
        ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    }
    // The files the directory holds besides the error capture.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            if (e.path().filename() != "err.txt")
                names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

uint32_t BigEndian32(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v = v << 8 | uint8_t(bytes[at + i]);
    return v;
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST_F(CliPlot, WritesAPngOfTheWholeDrawingAtEitherZoom) {
    const std::string out = dir.Path("plot.png");
    test::CliResult r = Run("plot " + sample + " --out " + out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    const std::string png = test::TempDir::Read(out);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian32(png, 16), 1104u); // 11.5 in at 96 dpi
    EXPECT_EQ(BigEndian32(png, 20), 720u);
    // Axes, labels, curve and markers compress to far more than a blank page would.
    EXPECT_GT(png.size(), 5000u);

    ASSERT_EQ(Run("plot " + sample + " --zoom 50 --out " + out).status, 0);
    const std::string half = test::TempDir::Read(out);
    EXPECT_EQ(BigEndian32(half, 16), 552u);
    EXPECT_EQ(BigEndian32(half, 20), 360u);
    EXPECT_EQ(Files(), (std::vector<std::string>{"plot.png"})); // no temporary left behind
}

TEST_F(CliPlot, WritesAnSvgWithTheLabelsAndTitlesAsText) {
    const std::string out = dir.Path("plot.svg");
    test::CliResult r = Run("plot " + sample + " --out " + out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const std::string svg = test::TempDir::Read(out);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 1104 720\""), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    EXPECT_NE(svg.find("<title>Test</title>"), std::string::npos);
    // Nine X labels from 0 to 2, six Y labels from 1 to 5, the three titles.
    for (const char* label : {">0.25000</text>", ">1.75000</text>", ">4.20000</text>",
                              ">Test</text>", ">X</text>", ">Y</text>"})
        EXPECT_EQ(Count(svg, label), 1u) << label;
    EXPECT_EQ(Count(svg, ">1.00000</text>"), 2u); // X = 1 and Y = 1
    // Axes, ticks, markers and curve: the lines of each pen in a path.
    size_t lines = 0;
    for (size_t at = svg.find("L"); at != std::string::npos; at = svg.find("L", at + 1))
        lines += std::isdigit(static_cast<unsigned char>(svg[at + 1])) ? 1 : 0;
    EXPECT_GE(lines, 25u);
    EXPECT_EQ(Count(svg, "<polyline"), 0u);
}

TEST_F(CliPlot, WritesAOnePagePdf) {
    const std::string out = dir.Path("plot.PDF");
    ASSERT_EQ(Run("plot " + sample + " --out " + out).status, 0);
    const std::string pdf = test::TempDir::Read(out);
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    const std::string text = dir.Path("plot.txt");
    ASSERT_EQ(std::system(("pdftotext '" + out + "' '" + text + "'").c_str()), 0);
    const std::string words = test::TempDir::Read(text);
    EXPECT_NE(words.find("Test"), std::string::npos);
    EXPECT_NE(words.find("4.20000"), std::string::npos);
    EXPECT_EQ(Count(words, "\f"), 1u);
}

TEST_F(CliPlot, ABadSuffixIsRefusedBeforeAnythingIsWritten) {
    test::CliResult r = Run("plot " + sample + " --out " + dir.Path("plot.jpg"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot export the plot to " + dir.Path("plot.jpg") +
                         "!\nThe file name must end in .png, .svg or .pdf.\n");
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(Run("plot " + sample + " --out " + dir.Path("png")).status, 2);
}

TEST_F(CliPlot, AFailedWriteSaysSoAndLeavesNoFile) {
    const std::string out = dir.Path("missing/plot.png");
    test::CliResult r = Run("plot " + sample + " --out " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot write the plot to " + out + "!\n" + out +
                         " contains an invalid path.\nAny earlier file of that name is "
                         "unchanged.\n");
    EXPECT_TRUE(Files().empty());
}

TEST_F(CliPlot, ARefusedPlotKeepsTheEarlierFile) {
    const std::string data = dir.Write("flat.dat", test::Header() + "1 2\r\n1 3\r\n");
    const std::string out = dir.Write("plot.png", "the earlier picture");
    test::CliResult r = Run("plot " + data + " --out " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Maximum value for X equals Minimum!\nCan't plot if no range in X!\n");
    EXPECT_EQ(test::TempDir::Read(out), "the earlier picture");
    EXPECT_EQ(Files(), (std::vector<std::string>{"flat.dat", "plot.png"}));

    const std::string empty = dir.Write("empty.dat", test::Header());
    r = Run("plot " + empty + " --out " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "No data pairs to plot!\n");
    EXPECT_EQ(test::TempDir::Read(out), "the earlier picture");
}

TEST_F(CliPlot, ALogAxisRefusesValuesAtOrBelowZeroAndDrawsTheRest) {
    const std::string data = dir.Write("signs.dat", test::Header() + "-1 2\r\n0 3\r\n2 5\r\n");
    const std::string out = dir.Path("plot.png");
    test::CliResult r = Run("plot " + data + " --log-x --out " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "2 X values are 0 or negative!\nCan't plot them on a logarithmic X axis!\n");
    EXPECT_EQ(Files(), (std::vector<std::string>{"signs.dat"}));
    r = Run("plot " + data + " --log-y --readable --out " + out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

TEST_F(CliPlot, UsageErrorsGiveStatusTwo) {
    const std::string usage =
        "usage: lumetra-cli plot FILE --out PICTURE.png|.svg|.pdf [--zoom 50|100] [--bands] "
        "[--residuals] [--log-x] [--log-y] [--readable] [--method classic|accurate] "
        "[--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] [--absolute] [--level L]\n";
    EXPECT_EQ(Run("plot").err, usage);
    EXPECT_EQ(Run("plot " + sample).status, 2);
    EXPECT_EQ(Run("plot --out " + dir.Path("a.png")).status, 2);
    test::CliResult r = Run("plot " + sample + " --out " + dir.Path("a.png") + " --zoom 75");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, usage);
    EXPECT_EQ(Run("plot " + sample + " " + sample + " --out " + dir.Path("a.png")).status, 2);
    EXPECT_EQ(Run("plot " + sample + " --out").status, 2);
    EXPECT_TRUE(Files().empty());
}

TEST_F(CliPlot, AFileThatCannotBeReadGivesTheReadersMessage) {
    test::CliResult r = Run("plot " + dir.Path("none.dat") + " --out " + dir.Path("a.png"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, dir.Path("none.dat") + " was not found.\n");
}

} // namespace
} // namespace lumetra

namespace lumetra {
namespace {

TEST_F(CliPlot, BandsAndResidualsChangeThePictureAndAFitWithoutIntervalsSaysSo) {
    const std::string plain = dir.Path("plain.png"), bands = dir.Path("bands.png"),
                      residuals = dir.Path("residuals.png");
    ASSERT_EQ(Run("plot " + pontius + " --out " + plain).status, 0);
    test::CliResult r = Run("plot " + pontius + " --bands --level 0.99 --out " + bands);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(Run("plot " + pontius + " --residuals --out " + residuals).status, 0);
    const std::string a = test::TempDir::Read(plain), b = test::TempDir::Read(bands),
                      c = test::TempDir::Read(residuals);
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(b, c);
    // The example holds two pairs on a straight line: no degrees of freedom are left.
    r = Run("plot " + sample + " --bands --out " + bands);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "No degrees of freedom are left (2 pairs, 2 coefficients): the fit gives "
                     "no intervals.\n");
    r = Run("plot " + sample + " --bands --level 1 --out " + bands);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "lumetra-cli: the level must be a number between 0 and 1, such as 0.95\n");
}

} // namespace
} // namespace lumetra
