#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumetra {
namespace {

using CliImport = test::CliTest;

// The two pairs of the example, typed into a text file, give the example's data file byte for
// byte once imported, fitted and saved.
TEST_F(CliImport, ImportsFitsAndSavesTheExample) {
    const std::string text = dir.Write("pairs.txt", "0;1\r\n\"2\",\"5\"\r\n");
    const std::string out = dir.Path("example.dat");
    test::CliResult r =
        Run("import " + text + " --save " + out + " --title Test --xtitle X --ytitle Y --order 1");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("              C[1] = 2.00000         \n"), std::string::npos);
    EXPECT_EQ(test::TempDir::Read(out), test::TempDir::Read(sample));
}

TEST_F(CliImport, RefusesFilesWithoutPairsAndSavesNothing) {
    const std::string out = dir.Path("out.dat");
    test::CliResult r =
        Run("import " + dir.Write("text.txt", "time;conc\nh;mg/L\n") + " --save " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "File " + dir.Path("text.txt") +
                         ":\nholds no X/Y pairs: none of its 2 lines holds numbers!\n" +
                         "No X/Y pairs were imported from " + dir.Path("text.txt") +
                         "; nothing saved.\n");
    EXPECT_EQ(test::TempDir::Read(out), "");
}

// A header line is skipped, and said to be, on the error stream.
TEST_F(CliImport, ReadsLinuxLineEndsAndSkipsAHeading) {
    const std::string out = dir.Path("out.dat");
    test::CliResult r = Run("import " + dir.Write("decay.txt", "time conc\n0 10\n1 5\n2 2.5\n") +
                            " --save " + out + " --model semilogy");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "File " + dir.Path("decay.txt") +
                         ":\n1 line before the first pair holds no numbers; it was skipped.\n");
    EXPECT_NE(test::TempDir::Read(out).find("2.00000         \t2.50000"), std::string::npos);
}

// A batch import saves all of a file or nothing: a line that is not a pair stops it, unless the
// lines that are not pairs are to be skipped, when they are named.
TEST_F(CliImport, ALineThatIsNotAPairSavesNothingUnlessSkipped) {
    const std::string out = dir.Path("out.dat");
    const std::string text = dir.Write("cut.txt", "1 2\r\n2 4\r\n3\r\n3 6\r\nn/a\r\n");
    test::CliResult r = Run("import " + text + " --save " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "File " + text +
                         ":\nline 3 has missing Y value!\nThe import stopped at that line.\nNot "
                         "every line of " +
                         text +
                         " was read; nothing saved.\n--skip-bad-lines skips the lines that are "
                         "not X/Y pairs.\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    r = Run("import " + text + " --skip-bad-lines --save " + out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "File " + text + ":\n2 lines that are not X/Y pairs were skipped: lines 3 and 5.\n");
    EXPECT_NE(test::TempDir::Read(out).find("3.00000         \t6.00000"), std::string::npos);
}

// --sigma reads the third number of each line as the pair's standard deviation, stored with the
// pair; a line without one stops the import and nothing is saved.
TEST_F(CliImport, SigmaReadsTheThirdNumberAsTheStandardDeviation) {
    const std::string out = dir.Path("out.dat");
    const std::string text = dir.Write("s.txt", "1 2 0.1\n2 4 0.30000000000000004\n3 6 1e-9\n");
    test::CliResult r = Run("import " + text + " --sigma --save " + out);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string saved = test::TempDir::Read(out);
    for (const char* field : {"\ts=0.1\r\n", "\ts=0.30000000000000004\r\n", "\ts=1e-09\r\n"})
        EXPECT_NE(saved.find(field), std::string::npos) << field;
    r = Run("import " + dir.Write("t.txt", "1 2 0.1\n2 4\n") + " --sigma --save " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n', r.err.find('\n') + 1)),
              "File " + dir.Path("t.txt") +
                  ":\nline 2 has missing standard deviation (its third number)!");
    EXPECT_EQ(test::TempDir::Read(out), saved);
}

// "1,5;2,25" is 1.5 and 2.25 to a spreadsheet in a decimal-comma language, and so to the import.
TEST_F(CliImport, ReadsADecimalCommaAndSaysSo) {
    const std::string out = dir.Path("out.dat");
    const std::string text = dir.Write("comma.csv", "1,5;2,25\r\n2;4,5\r\n3,5;7,25\r\n");
    test::CliResult r = Run("import " + text + " --save " + out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "File " + text + ":\nThe numbers were read with a decimal comma: \"1,5\" as 1.5.\n");
    EXPECT_NE(test::TempDir::Read(out).find("1.50000         \t2.25000"), std::string::npos);
}

// The save rounds nothing and says nothing of it: the file shows the display precision and keeps
// every digit, as check then prints.
TEST_F(CliImport, ItsSaveKeepsEveryDigit) {
    const std::string out = dir.Path("out.dat");
    test::CliResult r = Run(
        "import " + dir.Write("fine.txt", "1 2.123456789\n2 4.5\n3 6.000001\n") + " --save " + out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const std::string saved = test::TempDir::Read(out);
    EXPECT_NE(saved.find("1.00000         \t2.12346         \t"), std::string::npos);
    EXPECT_NE(saved.find("\ty=2.123456789\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\ty=6.000001\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("\ty=4.5"), std::string::npos);
}

TEST_F(CliImport, NeedsAFileToSaveAndKnownWords) {
    const std::string text = dir.Write("pairs.txt", "1 2\r\n");
    EXPECT_EQ(Run("import " + text).status, 2);
    EXPECT_EQ(Run("import " + text + " --save x.dat --colour red").status, 2);
    EXPECT_EQ(Run("fit " + text + " --title T").status, 2); // titles belong to import
}

} // namespace
} // namespace lumetra
