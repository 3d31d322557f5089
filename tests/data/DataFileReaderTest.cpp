#include "data/LumetraDoc.h"
#include "support/DocTest.h"
#include "support/ExampleFile.h"
#include "support/FailLargeAllocations.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace lumetra {
namespace {

// The file with its line `number` (from 1) replaced.
std::string WithLine(const std::string& file, int number, const std::string& text) {
    size_t begin = 0;
    for (int k = 1; k < number; ++k)
        begin = file.find("\r\n", begin) + 2;
    return file.substr(0, begin) + text + file.substr(file.find("\r\n", begin));
}

struct Reader : test::DocTest {
    test::TempDir dir;

    bool Open(const std::string& bytes, const std::string& name = "f.dat") {
        return doc.OnOpenDocument(dir.Write(name, bytes));
    }
    // A refused file always ends the same way.
    void ExpectRefusedWith(const std::string& message, Ui::Icon icon = Ui::Icon::Stop) {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, message);
        EXPECT_EQ(ui.messages[0].icon, icon);
        EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::Ok);
        EXPECT_EQ(doc.m_bHasFile, 0);
        EXPECT_EQ(doc.m_bReading, 0);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_TRUE(doc.m_pPairs.empty());
        EXPECT_EQ(doc.m_strFileName, "UnNamed File");
        EXPECT_EQ(ui.waitDepth, 0);
    }
};

TEST_F(Reader, ReadsTheExampleFile) {
    settings.SetString("Preferences", "LastPath", "/remembered");
    ASSERT_TRUE(Open(test::ExampleFileBytes(), "example.dat"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_strDataTitle, "Test");
    EXPECT_EQ(doc.m_strXTitle, "X");
    EXPECT_EQ(doc.m_strYTitle, "Y");
    EXPECT_EQ(doc.m_nCurveType, 0);
    EXPECT_EQ(doc.m_nOrder, 1);
    EXPECT_EQ(doc.m_dSumAbsDiff, 0.0);
    EXPECT_EQ(doc.m_dPerformance, 1.0);
    EXPECT_EQ(doc.m_dCoef[0], 2.0);
    EXPECT_EQ(doc.m_dCoef[1], 1.0);
    ASSERT_EQ(doc.m_pPairs.size(), 2u);
    EXPECT_EQ(doc.m_nPairs, 2);
    EXPECT_EQ(doc.m_pPairs[1].m_dX, 2.0);
    EXPECT_EQ(doc.m_pPairs[1].m_dY, 5.0);
    EXPECT_EQ(doc.m_pPairs[1].m_dComputed, 5.0);
    EXPECT_EQ(doc.m_dMinX, 0.0);
    EXPECT_EQ(doc.m_dMaxX, 2.0);
    EXPECT_EQ(doc.m_dMinY, 1.0);
    EXPECT_EQ(doc.m_dMaxY, 5.0);
    EXPECT_EQ(doc.m_strFileName, dir.Path("example.dat"));
    EXPECT_EQ(doc.m_strLastPath, "/remembered");
    EXPECT_EQ(doc.m_bHasFile, 1);
    EXPECT_EQ(doc.m_bReading, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(doc.m_szRowFormat, "%-16.5lf\t%-16.5lf\t%-16.5lf\t%-16.5lf");
}

TEST_F(Reader, ShowsItsProgressAndEndsReady) {
    std::string bytes = test::Header();
    for (int i = 0; i < 1000; ++i)
        bytes += "1.0\t2.0\t3.0\t4.0\r\n";
    ASSERT_TRUE(Open(bytes, "big.dat"));
    // 0, 5, 10 ... in 5 % steps (line ends do not count), then Ready.
    ASSERT_GE(ui.status[1].size(), 20u);
    EXPECT_EQ(ui.status[0].front(), "Reading -> big.dat");
    for (size_t i = 0; i + 1 < ui.status[1].size(); ++i)
        EXPECT_EQ(ui.status[1][i], "File " + std::to_string(5 * i) + " %processed");
    EXPECT_EQ(ui.status[0].back(), "Ready");
    EXPECT_EQ(ui.status[1].back(), "");
    EXPECT_EQ(ui.pumps, int(ui.status[0].size()));
}

TEST_F(Reader, PairLinesReadWithScanfRules) {
    std::string bytes = test::Header() + "1 2\r\n" +  // computed and difference stay 0
                        "  -3.5e1\t\t+4  7 8 9\r\n" + // any white space separates
                        "5 x 6 7\r\n" +               // reading stops at the first non-number
                        "\r\n" +                      // an empty line is a pair of zeros
                        " \t";                        // white space after the last line
    ASSERT_TRUE(Open(bytes));
    ASSERT_EQ(doc.m_pPairs.size(), 4u);
    EXPECT_EQ(doc.m_pPairs[0].m_dY, 2.0);
    EXPECT_EQ(doc.m_pPairs[0].m_dComputed, 0.0);
    EXPECT_EQ(doc.m_pPairs[1].m_dX, -35.0);
    EXPECT_EQ(doc.m_pPairs[1].m_dDifference, 8.0);
    EXPECT_EQ(doc.m_pPairs[2].m_dX, 5.0);
    EXPECT_EQ(doc.m_pPairs[2].m_dY, 0.0);
    EXPECT_EQ(doc.m_pPairs[3].m_dX, 0.0);
    EXPECT_EQ(doc.m_dMinX, -35.0);
    EXPECT_EQ(doc.m_dMaxX, 5.0);
}

TEST_F(Reader, AHeaderWithoutPairsOpensEmpty) {
    ASSERT_TRUE(Open(test::Header()));
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_EQ(doc.m_nPairs, 0);
}

TEST_F(Reader, OrderOneLeavesTheHigherCoefficientsAlone) {
    doc.m_dCoef[2] = 7.0;
    ASSERT_TRUE(Open(test::ExampleFileBytes()));
    EXPECT_EQ(doc.m_dCoef[0], 2.0);
    EXPECT_EQ(doc.m_dCoef[1], 1.0);
    EXPECT_EQ(doc.m_dCoef[2], 7.0);
}

TEST_F(Reader, OrderTenFillsElevenCoefficients) {
    std::string bytes = test::Header("10", "0", "5 5 1 1", 0);
    for (int k = 1; k <= 11; ++k)
        bytes += std::to_string(k) + ".0\r\n";
    bytes += "1 2 3 4\r\n";
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(doc.m_dCoef[10], 11.0);
    ASSERT_EQ(doc.m_pPairs.size(), 1u);
    EXPECT_EQ(doc.m_pPairs[0].m_dX, 1.0);
}

TEST_F(Reader, AnEmptyFileOpensNothing) {
    EXPECT_FALSE(Open("", "empty.dat"));
    ExpectRefusedWith("empty.dat is EMPTY!", Ui::Icon::Exclamation);
}

// A copy through a tool that turns CR LF into LF: read as the file was, written back with CR LF.
TEST_F(Reader, AFileWhoseCrLfBecameLfReadsAsBefore) {
    std::string unix = test::ExampleFileBytes();
    for (size_t at = unix.find("\r\n"); at != std::string::npos; at = unix.find("\r\n", at))
        unix.erase(at, 1);
    ASSERT_TRUE(Open(unix, "unix.dat"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_strDataTitle, "Test");
    EXPECT_EQ(doc.m_strYTitle, "Y");
    EXPECT_EQ(doc.m_dCoef[0], 2.0);
    EXPECT_EQ(doc.m_dCoef[1], 1.0);
    ASSERT_EQ(doc.m_pPairs.size(), 2u);
    EXPECT_EQ(doc.m_pPairs[1].m_dY, 5.0);
    EXPECT_EQ(doc.m_pPairs[1].m_dComputed, 5.0);
    EXPECT_EQ(doc.m_nPairs, 2);
    EXPECT_EQ(doc.m_dMaxX, 2.0);
    EXPECT_EQ(doc.m_strFileName, dir.Path("unix.dat"));
    ASSERT_TRUE(doc.OnSaveDocument(dir.Path("back.dat")));
    EXPECT_EQ(test::TempDir::Read(dir.Path("back.dat")), test::ExampleFileBytes());
}

TEST_F(Reader, AnLfFileIsToldItsFaultsAsACrLfFileIs) {
    EXPECT_FALSE(Open("Test\nX\n", "unix.dat"));
    ExpectRefusedWith("File " + dir.Path("unix.dat") +
                      ": was NOT saved by this application!\nYou may import data only thru the "
                      "Data tab!\nStopping file read!");
}

TEST_F(Reader, CarriageReturnsAloneAreNotADataFile) {
    EXPECT_FALSE(Open("@Test\rX\rY\r0\r1\r", "mac.dat"));
    ExpectRefusedWith("File " + dir.Path("mac.dat") + ":\nis NOT a valid data file!\n");
}

TEST_F(Reader, TheTwoLongLineTests) {
    EXPECT_FALSE(Open("@" + std::string(1023, 'a') + "\r\n" + test::Header()));
    ExpectRefusedWith("File " + dir.Path("f.dat") +
                      ":\ncontains lines longer than 1024 characters\nwhich is this "
                      "application's max!\n");
    ui.messages.clear();
    EXPECT_FALSE(Open("@" + std::string(1024, 'a') + "\r\n" + test::Header()));
    ExpectRefusedWith("File " + dir.Path("f.dat") +
                      ":\n contains lines longer than 1024 characters\nwhich is this "
                      "application's max!\n");
    ui.messages.clear();
    // A line of 1023 characters is the longest a file may hold.
    EXPECT_TRUE(Open("@" + std::string(1022, 'a') + test::Header().substr(2)));
    EXPECT_EQ(doc.m_strDataTitle, std::string(1022, 'a'));
}

TEST_F(Reader, ALongLaterLineIsRefused) {
    const std::string refused = "File " + dir.Path("f.dat") +
                                ":\ncontains lines longer than 1024 characters\nwhich is this "
                                "application's max!\n";
    for (size_t chars : {1024u, 5000u}) {
        ui.messages.clear();
        EXPECT_FALSE(Open(test::Header() + "1 2 3 4\r\n" + std::string(chars, '1') + "\r\n"))
            << chars;
        ExpectRefusedWith(refused);
    }
    // 1023 characters is a line the reader takes.
    ui.messages.clear();
    ASSERT_TRUE(Open(test::Header() + "7" + std::string(1022, ' ') + "\r\n"));
    ASSERT_EQ(doc.m_pPairs.size(), 1u);
    EXPECT_EQ(doc.m_pPairs[0].m_dX, 7.0);
}

TEST_F(Reader, AFirstLineOfFiveThousandCharactersIsRefused) {
    EXPECT_FALSE(Open("@" + std::string(4999, 't') + "\r\n" + test::Header()));
    ExpectRefusedWith("File " + dir.Path("f.dat") +
                      ":\n contains lines longer than 1024 characters\nwhich is this "
                      "application's max!\n");
}

TEST_F(Reader, NulCharactersAreDamage) {
    const std::string file = "File " + dir.Path("f.dat") + ":\nis damaged: ";
    const std::string pairs = "1 2 3 4\r\n5 6 7 8\r\n"; // lines 11 and 12
    struct Case {
        std::string bytes;
        int line;
    } cases[] = {
        {"@Te" + std::string(1, '\0') + "st" + test::Header().substr(2), 1},
        {test::Header() + "1 2 3 4\r\n5 6" + std::string(1, '\0') + " 7 8\r\n", 12},
        // Cut short by a crash: the file's end is zeros, after its last line end.
        {test::Header() + pairs + std::string(4096, '\0'), 13},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        EXPECT_FALSE(Open(c.bytes)) << c.line;
        ExpectRefusedWith(file + "line " + std::to_string(c.line) +
                          " holds a NUL character!\nStopping file read!");
    }
    // Zeros alone have no line end at all.
    ui.messages.clear();
    EXPECT_FALSE(Open(std::string(100, '\0')));
    ExpectRefusedWith("File " + dir.Path("f.dat") + ":\nis NOT a valid data file!\n");
}

TEST_F(Reader, ExtremeButFiniteNumbersAreReadExactly) {
    ASSERT_TRUE(Open(WithLine(test::Header(), 9, "1e308") + "1e308 -1e308 1e-320 -4.9e-324\r\n"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_dCoef[0], 1e308);
    ASSERT_EQ(doc.m_pPairs.size(), 1u);
    EXPECT_EQ(doc.m_pPairs[0].m_dX, 1e308);
    EXPECT_EQ(doc.m_pPairs[0].m_dY, -1e308);
    EXPECT_EQ(doc.m_pPairs[0].m_dComputed, 1e-320);
    EXPECT_EQ(doc.m_pPairs[0].m_dDifference, -4.9e-324);
}

// inf and nan, written out or reached by overflow, would reach the fit, the report and the plot.
TEST_F(Reader, InfiniteAndUndefinedNumbersAreDamage) {
    const std::string file = "File " + dir.Path("f.dat") + ":\nis damaged: ";
    struct Case {
        std::string bytes;
        int line;
    } cases[] = {
        {test::Header() + "1 2 3 4\r\ninf 2 3 4\r\n", 12},
        {test::Header() + "1 nan 3 4\r\n", 11},
        {test::Header() + "1 2 -INF 4\r\n", 11},
        {test::Header() + "1 2 3 1e400\r\n", 11},
        {WithLine(test::Header(), 6, "nan 1.0"), 6},
        {WithLine(test::Header(), 7, "0 -1e999"), 7},
        {WithLine(test::Header(), 10, "infinity"), 10},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        EXPECT_FALSE(Open(c.bytes)) << c.line;
        ExpectRefusedWith(file + "line " + std::to_string(c.line) +
                          " holds an infinite or undefined number!\nStopping file read!");
    }
}

TEST_F(Reader, AByteOrderMarkBeforeTheFileIsSkipped) {
    const std::string bom = "\xEF\xBB\xBF";
    ASSERT_TRUE(Open(bom + test::ExampleFileBytes()));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_strDataTitle, "Test");
    EXPECT_EQ(doc.m_pPairs.size(), 2u);
}

TEST_F(Reader, AByteOrderMarkDoesNotMakeNumbersADataFile) {
    EXPECT_FALSE(Open("\xEF\xBB\xBF"
                      "1 2\r\n"));
    ExpectRefusedWith("File " + dir.Path("f.dat") +
                      ": was NOT saved by this application!\nYou may import data only thru the "
                      "Data tab!\nStopping file read!");
}

// A file far larger than any data set: refused, never a crash.
TEST_F(Reader, ATwoGigabyteSparseFileIsRefused) {
    const std::string path = dir.Write("sparse.dat", test::Header() + "1 2 3 4\r\n");
    constexpr off_t kSize = off_t(2) << 30;
    struct stat st {};
    if (::truncate(path.c_str(), kSize) != 0 || ::stat(path.c_str(), &st) != 0 ||
        off_t(st.st_blocks) * 512 >= kSize)
        GTEST_SKIP() << "this file system cannot make a sparse file of 2 GB";
    EXPECT_FALSE(doc.OnOpenDocument(path));
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& text = ui.messages[0].text;
    EXPECT_TRUE(text == "Ran out of Memory reading File:\n" + path ||
                text == "File " + path +
                            ":\nis damaged: line 12 holds a NUL character!\nStopping file read!")
        << text;
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_EQ(doc.m_bReading, 0);
}

TEST_F(Reader, AFileRemovedBetweenTheDialogAndTheReadIsNotFound) {
    const std::string path = dir.Write("gone.dat", test::ExampleFileBytes());
    ui.fileChoices.push_back({true, path});
    const std::string chosen = doc.PromptForDataFile();
    ASSERT_EQ(chosen, path);
    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_FALSE(doc.OnOpenDocument(chosen));
    ExpectRefusedWith(path + " was not found.", Ui::Icon::Exclamation);
}

TEST_F(Reader, AFileMadeUnreadableBetweenTheDialogAndTheReadIsDenied) {
    const std::string path = dir.Write("locked.dat", test::ExampleFileBytes());
    ui.fileChoices.push_back({true, path});
    const std::string chosen = doc.PromptForDataFile();
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    if (const int fd = ::open(path.c_str(), O_RDONLY); fd >= 0) {
        ::close(fd);
        GTEST_SKIP() << "this user (root?) reads files whatever their mode";
    }
    EXPECT_FALSE(doc.OnOpenDocument(chosen));
    ExpectRefusedWith("Access to " + path + " was denied.", Ui::Icon::Exclamation);
}

TEST_F(Reader, NumbersAloneAreToBeImported) {
    EXPECT_FALSE(Open("1 2\r\n3 4\r\n"));
    ExpectRefusedWith("File " + dir.Path("f.dat") +
                      ": was NOT saved by this application!\nYou may import data only thru the "
                      "Data tab!\nStopping file read!");
}

TEST_F(Reader, DamagedHeadersAreRefusedWithTheirReason) {
    const std::string file = "File " + dir.Path("f.dat") + ":\nis damaged: ";
    struct Case {
        std::string bytes;
        std::string reason;
    } cases[] = {
        {test::Header("1", "4"), "its curve type (line 4) is 4, not 0 to 3"},
        {test::Header("1", "-1"), "its curve type (line 4) is -1, not 0 to 3"},
        {test::Header("1", "poly"), "its curve type (line 4) is not a number"},
        {test::Header("0"), "its curve order (line 5) is 0, not 1 to 10"},
        {test::Header("11"), "its curve order (line 5) is 11, not 1 to 10"},
        {test::Header("99"), "its curve order (line 5) is 99, not 1 to 10"},
        {test::Header("-1"), "its curve order (line 5) is -1, not 1 to 10"},
        {test::Header("x"), "its curve order (line 5) is not a number"},
        {test::Header("1", "0", "15 5 1 1"),
         "its decimal places (line 8) are 15 and 5, not 0 to 14"},
        {test::Header("1", "0", "5 -1 1 1"),
         "its decimal places (line 8) are 5 and -1, not 0 to 14"},
        {test::Header("1", "0", "5 99 1 1"),
         "its decimal places (line 8) are 5 and 99, not 0 to 14"},
        {test::Header("1", "0", "5 5 1"), "its display settings (line 8) are not four numbers"},
        {WithLine(test::Header(), 6, "none"), "its fit statistics (line 6) are not two numbers"},
        {WithLine(test::Header(), 6, "1.5"), "its fit statistics (line 6) are not two numbers"},
        {WithLine(test::Header(), 7, "x 0"), "its XINT and YINT (line 7) are not two numbers"},
        {WithLine(test::Header(), 9, "C1"), "its coefficient C[1] (line 9) is not a number"},
        {WithLine(test::Header(), 10, ""), "its coefficient C[2] (line 10) is not a number"},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        EXPECT_FALSE(Open(c.bytes)) << c.reason;
        ExpectRefusedWith(file + c.reason + "!\nStopping file read!");
    }
}

TEST_F(Reader, AHeaderCutShortAtAnyLineIsRefused) {
    const std::string full = test::Header("2", "0", "5 5 1 1", 3);
    size_t end = 0;
    for (int lines = 1; lines <= 10; ++lines) {
        end = full.find("\r\n", end) + 2;
        ui.messages.clear();
        EXPECT_FALSE(Open(full.substr(0, end))) << lines;
        ExpectRefusedWith("File " + dir.Path("f.dat") +
                          ":\nis damaged: its header ends after line " + std::to_string(lines) +
                          "!\nStopping file read!");
    }
    ui.messages.clear();
    EXPECT_TRUE(Open(full));
}

TEST_F(Reader, FileErrorsUseTheFileErrorReport) {
    EXPECT_FALSE(doc.OnOpenDocument(dir.Path("missing.dat")));
    ExpectRefusedWith(dir.Path("missing.dat") + " was not found.", Ui::Icon::Exclamation);
    ui.messages.clear();
    EXPECT_FALSE(doc.OnOpenDocument(dir.path()));
    ExpectRefusedWith("Access to " + dir.path() + " was denied.", Ui::Icon::Exclamation);
}

// Large files are read and parsed in parts at once, from mapped pages or, when another program
// has the file open for writing, from a copy; either way every pair comes back in order.
TEST_F(Reader, LargeFilesReadTheSameWhicheverWayTheyAreLoaded) {
    CLumetraDoc source(ui, settings);
    test::FillExample(source);
    source.m_pPairs.clear();
    for (int k = 0; k < 120000; ++k)
        source.m_pPairs.push_back({k * 0.5, -k * 0.25, double(k % 97), double(-(k % 13))});
    const std::string path = dir.Path("large.dat");
    ASSERT_TRUE(source.OnSaveDocument(path));
    ASSERT_GT(std::filesystem::file_size(path), 4u << 20); // large enough to be split

    for (bool heldForWriting : {false, true}) {
        const int writer = heldForWriting ? ::open(path.c_str(), O_WRONLY | O_APPEND) : -1;
        CLumetraDoc back(ui, settings);
        ASSERT_TRUE(back.OnOpenDocument(path));
        if (writer >= 0)
            ::close(writer);
        ASSERT_EQ(back.m_pPairs.size(), source.m_pPairs.size()) << heldForWriting;
        for (size_t k = 0; k < source.m_pPairs.size(); k += 997) {
            EXPECT_EQ(back.m_pPairs[k].m_dX, source.m_pPairs[k].m_dX) << k;
            EXPECT_EQ(back.m_pPairs[k].m_dY, source.m_pPairs[k].m_dY) << k;
            EXPECT_EQ(back.m_pPairs[k].m_dComputed, source.m_pPairs[k].m_dComputed) << k;
            EXPECT_EQ(back.m_pPairs[k].m_dDifference, source.m_pPairs[k].m_dDifference) << k;
        }
        EXPECT_EQ(back.m_pPairs.back().m_dX, 119999 * 0.5);
        EXPECT_EQ(back.m_dMaxX, 119999 * 0.5);
        EXPECT_EQ(back.m_dMinY, -119999 * 0.25);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Reader, AFailedReadClearsWhatAnEarlierPartOfTheFileFilled) {
    EXPECT_FALSE(Open(test::Header() + "1 2 3 4\r\n" + std::string(2000, '5') + "\r\n"));
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_EQ(doc.m_nPairs, 0);
}

// The writer ends every line with CR LF: anything else inside the pairs means damage.
TEST_F(Reader, APairLineCutShortOrJoinedToTheNextIsDamage) {
    const std::string file = "File " + dir.Path("f.dat") + ":\nis damaged: ";
    const std::string body = test::Header() + "1 2 3 4\r\n";
    struct Case {
        std::string bytes;
        std::string reason;
    } cases[] = {
        {body + "9 9 9", "its last line (line 12) is cut short"},
        {body + "5 6 7 8\r\n9", "its last line (line 13) is cut short"},
        {body + "5 6\n7 8\r\n", "line 12 holds a line end that is not CR LF"},
        {body + "5 6\r7 8\r\n", "line 12 holds a line end that is not CR LF"},
        {body + "5 6 7 8\r\n\n9 9\r\n", "line 13 holds a line end that is not CR LF"},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        EXPECT_FALSE(Open(c.bytes)) << c.reason;
        ExpectRefusedWith(file + c.reason + "!\nStopping file read!");
    }
    // White space after the last line loses nothing.
    ui.messages.clear();
    ASSERT_TRUE(Open(body + "\t\n"));
    EXPECT_EQ(doc.m_pPairs.size(), 1u);
}

TEST_F(Reader, TheProgressNeverPassesAHundredPercent) {
    auto percents = [&] {
        std::vector<int> out;
        for (const std::string& text : ui.status[1])
            if (!text.empty())
                out.push_back(std::stoi(text.substr(5)));
        return out;
    };
    // A file beyond the 10,000,000 bytes of the progress base: still a share of the whole file.
    CLumetraDoc source(ui, settings);
    test::FillExample(source);
    source.m_pPairs.assign(400000, {1.5, 2.5, 3.5, 4.5});
    const std::string path = dir.Path("large.dat");
    ASSERT_TRUE(source.OnSaveDocument(path));
    ASSERT_GT(std::filesystem::file_size(path), 25000000u);
    ui.status[1].clear();
    CLumetraDoc back(ui, settings);
    ASSERT_TRUE(back.OnOpenDocument(path));
    const std::vector<int> seen = percents();
    ASSERT_GT(seen.size(), 40u); // still a step every half million bytes
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    // The lines' own measure leaves out one of the two bytes of each line end.
    EXPECT_EQ(seen.back(), 95);
    EXPECT_EQ(seen[seen.size() / 2], 45);
}

TEST_F(Reader, PipesAndDevicesAreRefusedWithoutWaiting) {
    const std::string fifo = dir.Path("pipe.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(doc.OnOpenDocument(fifo));
    ExpectRefusedWith("File " + fifo + ":\nis NOT a file but a pipe, device or socket!");
    ui.messages.clear();
    EXPECT_FALSE(doc.OnOpenDocument("/dev/zero"));
    ExpectRefusedWith("File /dev/zero:\nis NOT a file but a pipe, device or socket!");
}

// A Ui whose message pump runs what a user could do meanwhile in another program.
struct PumpingUi : test::RecordingUi {
    std::function<void(int)> onPump;
    void PumpMessages() override {
        RecordingUi::PumpMessages();
        if (onPump)
            onPump(pumps);
    }
};

// A modal box may wait in any pump of the read for as long as the user likes; what another
// program does to the file meanwhile never reaches the parser.
TEST_F(Reader, AFileChangedWhileItIsReadIsRefusedOrReadAsItWas) {
    CLumetraDoc source(ui, settings);
    test::FillExample(source);
    source.m_pPairs.assign(200000, {1.5, 2.5, 3.5, 4.5});
    const std::string path = dir.Path("large.dat");
    ASSERT_TRUE(source.OnSaveDocument(path));
    const off_t size = off_t(std::filesystem::file_size(path));

    // Cut short before the file is taken in: refused.
    PumpingUi pumping;
    pumping.onPump = [&](int pump) {
        if (pump == 1) {
            ASSERT_EQ(::truncate(path.c_str(), size / 2), 0);
        }
    };
    CLumetraDoc first(pumping, settings);
    EXPECT_FALSE(first.OnOpenDocument(path));
    ASSERT_EQ(pumping.messages.size(), 1u);
    EXPECT_EQ(pumping.messages[0].text, "File " + path +
                                            ":\nwas changed by another program while it was "
                                            "read!\nTry again when it is done.");
    EXPECT_EQ(pumping.messages[0].icon, Ui::Icon::Stop);
    EXPECT_TRUE(first.m_pPairs.empty());
    EXPECT_EQ(first.m_bReading, 0);
    EXPECT_EQ(pumping.waitDepth, 0);

    // Emptied through another descriptor in the middle of the pairs: read as it was.
    ASSERT_TRUE(source.OnSaveDocument(path));
    PumpingUi later;
    later.onPump = [&](int pump) {
        if (pump == 5) {
            const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
            ASSERT_GE(fd, 0);
            ::close(fd);
        }
    };
    CLumetraDoc second(later, settings);
    ASSERT_TRUE(second.OnOpenDocument(path));
    EXPECT_GT(later.pumps, 5);
    EXPECT_TRUE(later.messages.empty());
    ASSERT_EQ(second.m_pPairs.size(), 200000u);
    EXPECT_EQ(second.m_pPairs.back().m_dDifference, 4.5);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST_F(Reader, OutOfMemoryIsReportedAndLeavesNothing) {
    CLumetraDoc source(ui, settings);
    test::FillExample(source);
    source.m_pPairs.assign(50000, {1.5, 2.5, 3.5, 4.5}); // 3.5 MB of text
    const std::string path = dir.Path("large.dat");
    ASSERT_TRUE(source.OnSaveDocument(path));
    {
        test::FailLargeAllocations fail(size_t(1) << 20);
        EXPECT_FALSE(doc.OnOpenDocument(path));
    }
    ExpectRefusedWith("Ran out of Memory reading File:\n" + path);
}

} // namespace
} // namespace lumetra
