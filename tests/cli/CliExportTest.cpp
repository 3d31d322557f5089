#include "data/LumetraDoc.h"
#include "report/ReportBuilder.h"
#include "report/ReportText.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <charconv>
#include <sstream>

namespace lumetra {
namespace {

struct CliExport : test::CliTest {
    // A fitted data set whose numbers carry fourteen decimals in exponent form, and whose axis
    // titles need CSV quoting.
    std::string WriteDataFile() {
        return dir.Write("spring.dat",
                         "@Spring\r\nLength, \"mm\"\r\nForce\r\n0\r\n1\r\n"
                         "0.000000 0.000000\r\n0.000000 0.000000\r\n14 14 0 0\r\n"
                         "2.00000000000000E+000\r\n1.00000000000000E+000\r\n"
                         "1.23456789012345E+000\t3.46913578024691E+000\t3.46913578024690E+000\t"
                         "1.00000000000000E-014\r\n"
                         "-9.87654321098765E-003\t9.80246913578025E-001\t9.80246913578024E-001\t"
                         "-2.50000000000000E-015\r\n");
    }
};

TEST_F(CliExport, TheCsvReadsBackInPythonToTheStoredDoublesExactly) {
    const std::string data = WriteDataFile();
    const std::string csv = dir.Path("table.csv");
    const test::CliResult r = Run("export " + data + " --out " + csv);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    CLumetraDoc doc(ui, settings);
    ASSERT_TRUE(doc.OnOpenDocument(data));
    ASSERT_EQ(doc.m_pPairs.size(), 2u);

    const test::CliResult python = test::RunCommand(
        "python3 " LUMETRA_SOURCE_DIR "/tests/scripts/csv_doubles.py " + csv, dir.Path("py.txt"));
    ASSERT_EQ(python.status, 0) << python.err;

    std::vector<std::string> header;
    std::vector<double> values;
    std::istringstream lines(python.out);
    for (std::string line; std::getline(lines, line);) {
        ASSERT_GE(line.size(), 2u) << line;
        const std::string field = line.substr(2);
        if (line[0] == 'H') {
            header.push_back(field);
        } else {
            double v = 0.0;
            const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
            ASSERT_EQ(ec, std::errc()) << field;
            ASSERT_EQ(end, field.data() + field.size()) << field;
            values.push_back(v);
        }
    }
    EXPECT_EQ(header, (std::vector<std::string>{"Length, \"mm\"", "Force", "Computed Value",
                                                "Difference"}));
    std::vector<double> stored;
    for (const CXYdata& p : doc.m_pPairs)
        stored.insert(stored.end(), {p.m_dX, p.m_dY, p.m_dComputed, p.m_dDifference});
    ASSERT_EQ(values.size(), stored.size());
    for (size_t i = 0; i < stored.size(); ++i)
        EXPECT_EQ(values[i], stored[i]) << "value " << i; // bit for bit, not approximately
    EXPECT_EQ(stored[0], 1.23456789012345);
}

TEST_F(CliExport, ATextFileHoldsTheReportAsTheReportCommandPrintsIt) {
    const std::string data = WriteDataFile();
    const std::string txt = dir.Path("report.txt");
    ASSERT_EQ(Run("export " + data + " --out " + txt).status, 0);
    const test::CliResult report = Run("report " + data);
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(test::TempDir::Read(txt), report.out);
    EXPECT_NE(report.out.find("Length, \"mm\""), std::string::npos);
}

TEST_F(CliExport, RefusalsAndFailures) {
    const std::string data = WriteDataFile();
    test::CliResult r = Run("export " + data + " --out " + dir.Path("t.xls"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot export the table to " + dir.Path("t.xls") +
                         "!\nThe file name must end in .csv or .txt.\n");
    r = Run("export " + data);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "usage: lumetra-cli export FILE --out TABLE.csv|.txt\n");
    // A folder that is not there: nothing is written, and an earlier file stays as it was.
    const std::string missing = dir.Path("no/such/t.csv");
    r = Run("export " + data + " --out " + missing);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot write the table to " + missing + "!\n" + missing +
                         " contains an invalid path.\nAny earlier file of that name is "
                         "unchanged.\n");
    // An earlier file of the name is replaced whole.
    const std::string earlier = dir.Write("old.txt", std::string(100000, 'x'));
    ASSERT_EQ(Run("export " + data + " --out " + earlier).status, 0);
    EXPECT_EQ(test::TempDir::Read(earlier), Run("report " + data).out);
    r = Run("export " + dir.Path("none.dat") + " --out " + dir.Path("t.csv"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("none.dat"), std::string::npos);
}

} // namespace
} // namespace lumetra
