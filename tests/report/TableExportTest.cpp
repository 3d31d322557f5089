#include "report/TableExport.h"
#include "data/LumetraDoc.h"
#include "data/RoundTrip.h"
#include "platform/MemorySettingsStore.h"
#include "report/ReportText.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <sys/mman.h>
#include <unistd.h>

namespace lumetra {
namespace {

double ReadBack(const std::string& text) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(ec, std::errc());
    EXPECT_EQ(end, text.data() + text.size()) << text;
    return value;
}

TEST(TableExport, NumbersReadBackToTheSameDoubleInTheirShortestForm) {
    EXPECT_EQ(RoundTripNumber(0.1), "0.1");
    EXPECT_EQ(RoundTripNumber(-2.5), "-2.5");
    EXPECT_EQ(RoundTripNumber(1e300), "1e+300");
    EXPECT_EQ(RoundTripNumber(0.0), "0");
    EXPECT_EQ(RoundTripNumber(300000.0), "300000");
    EXPECT_EQ(RoundTripNumber(-0.000221321), "-0.000221321");
    EXPECT_EQ(RoundTripNumber(1e-5), "0.00001");
    EXPECT_EQ(RoundTripNumber(9.99e-6), "9.99e-06");
    EXPECT_EQ(RoundTripNumber(1e15), "1000000000000000");
    EXPECT_EQ(RoundTripNumber(1e16), "1e+16");
    for (double v : {0.1 + 0.2, 1.0 / 3.0, 123456.789012345678, -4.9e-324, 1e-5, 9.999e15,
                     std::numeric_limits<double>::max(), std::nextafter(1.0, 2.0)})
        EXPECT_EQ(ReadBack(RoundTripNumber(v)), v) << RoundTripNumber(v);
}

TEST(TableExport, TitlesAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(CsvField("Length"), "Length");
    EXPECT_EQ(CsvField("Temp (C)"), "Temp (C)");
    EXPECT_EQ(CsvField("Length, mm"), "\"Length, mm\"");
    EXPECT_EQ(CsvField("5\" pipe"), "\"5\"\" pipe\"");
    EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvField("cr\r"), "\"cr\r\"");
    EXPECT_EQ(CsvField(""), "");
}

TEST(TableExport, TheSuffixChoosesTheFormat) {
    EXPECT_EQ(TableFileFormatFor("/tmp/a.csv"), TableFileFormat::Csv);
    EXPECT_EQ(TableFileFormatFor("/tmp/a.CSV"), TableFileFormat::Csv);
    EXPECT_EQ(TableFileFormatFor("/tmp/a.txt"), TableFileFormat::Text);
    EXPECT_EQ(TableFileFormatFor("/tmp/.csv"), std::nullopt);
    EXPECT_EQ(TableFileFormatFor("/tmp/a.dat"), std::nullopt);
    EXPECT_EQ(TableFileFormatFor("/tmp.csv/a"), std::nullopt);
    EXPECT_EQ(TableSuffixMessage("/tmp/a.dat"),
              "Cannot export the table to /tmp/a.dat!\nThe file name must end in .csv or .txt.");
}

// What WriteTable puts into a file.
std::string Written(const CLumetraDoc& doc, TableFileFormat format) {
    const int fd = ::memfd_create("table", 0);
    EXPECT_EQ(WriteTable(fd, doc, format), 0);
    std::string text(size_t(::lseek(fd, 0, SEEK_CUR)), '\0');
    EXPECT_EQ(::pread(fd, text.data(), text.size(), 0), ssize_t(text.size()));
    ::close(fd);
    return text;
}

TEST(TableExport, TheCsvHoldsTheTitlesAndEveryStoredDigit) {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    doc.OnNewDocument();
    doc.m_strXTitle = "Length, \"mm\"";
    doc.m_strYTitle = "Force";
    doc.m_pPairs = {{0.1 + 0.2, 1.0 / 3.0, 2e-7, -1e300}, {-0.0, 5.0, 5.25, 0.0}};
    EXPECT_EQ(Written(doc, TableFileFormat::Csv),
              "\"Length, \"\"mm\"\"\",Force,Computed Value,Difference\r\n"
              "0.30000000000000004,0.3333333333333333,2e-07,-1e+300\r\n"
              "-0,5,5.25,0\r\n");
    doc.m_pPairs.clear();
    EXPECT_EQ(Written(doc, TableFileFormat::Csv),
              "\"Length, \"\"mm\"\"\",Force,Computed Value,Difference\r\n");
    doc.m_pReportLines = {"a\tb", "", "c"};
    EXPECT_EQ(Written(doc, TableFileFormat::Text), "a\tb\n\nc\n");
}

// Standard deviations get a column of their own, empty for a pair without one.
TEST(TableExport, StandardDeviationsHaveAColumnWhenThereAreAny) {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    doc.OnNewDocument();
    doc.m_pPairs = {{1, 2, 2, 0, 0.1}, {3, 4, 4, 0}};
    EXPECT_EQ(Written(doc, TableFileFormat::Csv),
              "X,Y,Computed Value,Difference,Standard Deviation\r\n1,2,2,0,0.1\r\n3,4,4,0,\r\n");
}

TEST(ReportText, LinesAreEndedByNewLinesAndKeepTheirTabs) {
    const std::vector<std::string> lines = {"one\tx", "two", "three"};
    EXPECT_EQ(ReportText(lines), "one\tx\ntwo\nthree\n");
    EXPECT_EQ(ReportText({}), "");
    EXPECT_EQ(ReportLinesText(lines, {0, 2}), "one\tx\nthree\n");
    EXPECT_EQ(ReportLinesText(lines, {2, 3, -1}), "three\n");
}

} // namespace
} // namespace lumetra
