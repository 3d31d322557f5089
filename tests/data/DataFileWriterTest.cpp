#include "data/LumetraDoc.h"
#include "support/DocTest.h"
#include "support/ExampleFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <functional>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetra {
namespace {

namespace fs = std::filesystem;

struct Writer : test::ExampleDocTest {

    // Nothing but the target itself may be left in the directory.
    void ExpectNoTemporaryFiles() {
        for (const auto& entry : fs::directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string().rfind(".", 0), std::string::npos)
                << entry.path();
    }
};

TEST_F(Writer, WritesTheExampleByteForByte) {
    doc.SetModifiedFlag(true);
    const std::string path = dir.Path("example.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(test::TempDir::Read(path), test::ExampleFileBytes());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_strFileName, path);
    EXPECT_EQ(doc.m_strLastPath, dir.path());
    EXPECT_EQ(settings.GetString("Preferences", "LastPath"), dir.path());
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_GT(ui.waitBegins, 0);
    ExpectNoTemporaryFiles();
}

TEST_F(Writer, TheBundledSampleIsTheExample) {
    EXPECT_EQ(test::TempDir::Read(LUMETRA_SOURCE_DIR "/samples/example.dat"),
              test::ExampleFileBytes());
}

TEST_F(Writer, WhatIsWrittenReadsBackToTheSameState) {
    doc.m_strXTitle = "Temp (K)";
    doc.m_nCurveType = 1;
    doc.m_nOrder = 3;
    doc.m_dXInt = 0.30103;
    doc.m_dYInt = -1.5;
    doc.m_bYFixed = 0;
    doc.m_nYDecimals = 7;
    for (int k = 0; k < 4; ++k)
        doc.m_dCoef[k] = 0.5 * (k + 1);
    doc.m_pPairs = {{1.5, 2000.25, 1999.0, 1.25}, {-3.0, 0.000125, 0.0, 0.000125}};
    doc.BuildFormats();
    const std::string path = dir.Path("round.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));

    CLumetraDoc back(ui, settings);
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.m_strXTitle, "Temp (K)");
    EXPECT_EQ(back.m_nCurveType, 1);
    EXPECT_EQ(back.m_nOrder, 3);
    EXPECT_EQ(back.m_dXInt, 0.30103);
    EXPECT_EQ(back.m_dYInt, -1.5);
    EXPECT_EQ(back.m_bYFixed, 0);
    EXPECT_EQ(back.m_nYDecimals, 7);
    EXPECT_EQ(back.m_szYFormat, "%-16.7E");
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(back.m_dCoef[k], 0.5 * (k + 1));
    ASSERT_EQ(back.m_pPairs.size(), 2u);
    EXPECT_EQ(back.m_pPairs[0].m_dY, 2000.25);
    EXPECT_EQ(back.m_pPairs[1].m_dDifference, 0.000125);
    // And writing it again gives the same bytes.
    const std::string again = dir.Path("again.dat");
    ASSERT_TRUE(back.OnSaveDocument(again));
    EXPECT_EQ(test::TempDir::Read(again), test::TempDir::Read(path));
}

TEST_F(Writer, TitlesWithUtf8CharactersRoundTripUnchanged) {
    const std::string data = "Ressort n\xc2\xb0 7 \xe2\x80\x93 20 \xc2\xb0"
                             "C";
    const std::string x = "Temp\xc3\xa9rature (\xc2\xb0"
                          "C)",
                      y = "L\xc3\xa4nge \xc2\xb5m";
    doc.m_strDataTitle = data;
    doc.m_strXTitle = x;
    doc.m_strYTitle = y;
    const std::string path = dir.Path("utf8.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(test::TempDir::Read(path).substr(0, data.size() + x.size() + y.size() + 7),
              "@" + data + "\r\n" + x + "\r\n" + y + "\r\n");
    CLumetraDoc back(ui, settings);
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.m_strDataTitle, data);
    EXPECT_EQ(back.m_strXTitle, x);
    EXPECT_EQ(back.m_strYTitle, y);
}

// Numbers are shown as displayed (statistics with six decimals), and kept exactly beside them.
TEST_F(Writer, TheFileShowsNumbersAsDisplayedAndKeepsThemExactly) {
    doc.m_nXDecimals = 2;
    doc.m_dSumAbsDiff = 1.23456789;
    doc.m_pPairs = {{1.23456, 5.0}};
    doc.BuildFormats();
    const std::string path = dir.Path("two.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CLumetraDoc back(ui, settings);
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(back.m_pPairs[0].m_dX, 1.23456);
    EXPECT_EQ(back.m_dSumAbsDiff, 1.23456789);
    const std::string bytes = test::TempDir::Read(path);
    EXPECT_NE(
        bytes.find("\r\n1.234568 1.000000\tsum=1.23456789\r\n0.000000 0.000000\r\n2 5 1 1\r\n"),
        std::string::npos);
    EXPECT_NE(bytes.find("\r\n" + test::Wide16("1.23") + "\t" + test::Wide16("5.00000") + "\t" +
                         test::Wide16("0.00000") + "\t" + test::Wide16("0.00000") +
                         "\tx=1.23456\r\n"),
              std::string::npos);
}

TEST_F(Writer, TheSameBytesInEveryLocale) {
    doc.m_dCoef[0] = 1234.5678;
    doc.m_bYFixed = 0;
    doc.BuildFormats();
    ASSERT_TRUE(doc.OnSaveDocument(dir.Path("c.dat")));
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine";
    const bool saved = doc.OnSaveDocument(dir.Path("de.dat"));
    CLumetraDoc back(ui, settings);
    const bool read = back.OnOpenDocument(dir.Path("de.dat"));
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(saved);
    ASSERT_TRUE(read);
    EXPECT_EQ(test::TempDir::Read(dir.Path("de.dat")), test::TempDir::Read(dir.Path("c.dat")));
    EXPECT_EQ(back.m_dCoef[0], 1234.5678); // shown as 1.23457E+003, exact beside it
}

TEST_F(Writer, ARefusedSaveLeavesThePreviousFileAndTheDocumentAsTheyWere) {
    const std::string path = dir.Path("keep.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::string before = test::TempDir::Read(path);
    doc.m_strFileName = "UnNamed File";
    doc.SetModifiedFlag(true);

    struct Case {
        const char* what;
        std::function<void(CLumetraDoc&)> damage;
        std::string problem;
        std::string advice = "Shorten the titles or choose exponent display.";
    } cases[] = {
        {"long title", [](CLumetraDoc& d) { d.m_strDataTitle = std::string(1023, 't'); },
         "a title or number line would be longer than 1023 characters"},
        {"huge fixed values",
         [](CLumetraDoc& d) {
             d.m_pPairs[0] = {1e300, 1e300, 1e300, 1e300};
         },
         "a data line would be longer than 1023 characters"},
        {"line break", [](CLumetraDoc& d) { d.m_strYTitle = "Y\r\nmore"; },
         "a title holds a line break", "Put each title on one line."},
    };
    for (const Case& c : cases) {
        test::FillExample(doc);
        doc.SetModifiedFlag(true);
        doc.m_strFileName = "UnNamed File";
        c.damage(doc);
        ui.messages.clear();
        EXPECT_FALSE(doc.OnSaveDocument(path)) << c.what;
        ASSERT_EQ(ui.messages.size(), 1u) << c.what;
        EXPECT_EQ(ui.messages[0].text, "File " + path + ":\nwas NOT saved: " + c.problem +
                                           ",\nwhich this application could not read back!\n" +
                                           c.advice);
        EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
        EXPECT_EQ(test::TempDir::Read(path), before) << c.what;
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.m_strFileName, "UnNamed File");
        EXPECT_EQ(ui.waitDepth, 0);
    }
    // Exponent display of the same huge values fits and is saved.
    test::FillExample(doc);
    doc.m_pPairs[0] = {1e300, 1e300, 1e300, 1e300};
    doc.m_bXFixed = doc.m_bYFixed = 0;
    doc.BuildFormats();
    EXPECT_TRUE(doc.OnSaveDocument(path));
    ExpectNoTemporaryFiles();
}

TEST_F(Writer, NonFiniteNumbersAreNeverWritten) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string path = dir.Path("keep.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::string before = test::TempDir::Read(path);
    struct Case {
        const char* what;
        std::function<void(CLumetraDoc&)> damage;
    } cases[] = {
        {"infinite X", [&](CLumetraDoc& d) { d.m_pPairs[1].m_dX = inf; }},
        {"nan difference", [&](CLumetraDoc& d) { d.m_pPairs[0].m_dDifference = nan; }},
        {"infinite C[2]", [&](CLumetraDoc& d) { d.m_dCoef[1] = -inf; }},
        {"nan performance", [&](CLumetraDoc& d) { d.m_dPerformance = nan; }},
        {"infinite sum", [&](CLumetraDoc& d) { d.m_dSumAbsDiff = inf; }},
        {"nan YINT", [&](CLumetraDoc& d) { d.m_dYInt = nan; }},
    };
    for (const Case& c : cases) {
        CLumetraDoc doc(ui, settings);
        test::FillExample(doc);
        doc.SetModifiedFlag(true);
        c.damage(doc);
        ui.messages.clear();
        EXPECT_FALSE(doc.OnSaveDocument(path)) << c.what;
        EXPECT_EQ(ui.OnlyMessage(), "File " + path +
                                        ":\nwas NOT saved: a number is infinite or undefined,\n"
                                        "which this application could not read back!\n"
                                        "Correct the data and fit the curve again.")
            << c.what;
        EXPECT_EQ(test::TempDir::Read(path), before) << c.what;
        EXPECT_TRUE(doc.IsModified()) << c.what;
        EXPECT_EQ(ui.waitDepth, 0);
    }
    // A coefficient beyond the order is not part of the file.
    doc.m_dCoef[2] = nan;
    ui.messages.clear();
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(test::TempDir::Read(path), test::ExampleFileBytes());
    ExpectNoTemporaryFiles();
}

TEST_F(Writer, FileErrorsAreReportedAndChangeNothing) {
    doc.SetModifiedFlag(true);
    fs::create_directory(dir.Path("sub"));
    EXPECT_FALSE(doc.OnSaveDocument(dir.Path("sub")));
    EXPECT_FALSE(doc.OnSaveDocument(dir.Path("nowhere/x.dat")));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Access to " + dir.Path("sub") + " was denied.");
    EXPECT_EQ(ui.messages[1].text, dir.Path("nowhere/x.dat") + " contains an invalid path.");
    EXPECT_TRUE(fs::is_directory(dir.Path("sub")));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_strFileName, "UnNamed File");
    EXPECT_EQ(settings.GetString("Preferences", "LastPath"), "");
}

TEST_F(Writer, SavingOverAFileKeepsItsModeAndWritesThroughLinks) {
    const std::string real = dir.Path("real.dat");
    ASSERT_TRUE(doc.OnSaveDocument(real));
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    const std::string link = dir.Path("link.dat");
    fs::create_symlink(real, link);
    doc.m_strDataTitle = "Changed";
    ASSERT_TRUE(doc.OnSaveDocument(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::TempDir::Read(real).substr(0, 10), "@Changed\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(doc.m_strFileName, link);
}

} // namespace
} // namespace lumetra
