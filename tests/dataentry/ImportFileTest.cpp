#include "dataentry/ImportFile.h"
#include "data/LumetraDoc.h"
#include "platform/MemorySettingsStore.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace lumetra {
namespace {

using Pairs = std::vector<std::pair<double, double>>;

struct Recorder : ImportListener {
    int imported = 0;
    std::vector<int> progress; // every position given; -1 for hidden, -2 for shown
    void OnPairImported(const CXYdata&) override { ++imported; }
    void OnProgressShown(bool shown) override { progress.push_back(shown ? -2 : -1); }
    void OnProgress(int percent) override { progress.push_back(percent); }
};

struct Import : ::testing::Test {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    test::TempDir dir;
    CLumetraDoc doc{ui, settings};
    Recorder recorder;

    ImportResult Run(std::string_view bytes) {
        return ImportFile(doc, ui, dir.Write("in.txt", bytes), &recorder);
    }
    Pairs Read() const {
        Pairs out;
        for (const CXYdata& p : doc.m_pPairs)
            out.emplace_back(p.m_dX, p.m_dY);
        return out;
    }
    std::string Path() const { return dir.Path("in.txt"); }
};

TEST_F(Import, TakesBlanksCommasSemicolonsAndQuotesAsSeparators) {
    EXPECT_EQ(Run("1 2\r\n3,4\r\n\"5\";\"6\"\r\n\t7 ,; '8'\r\n").imported, 4);
    EXPECT_EQ(Read(), (Pairs{{1, 2}, {3, 4}, {5, 6}, {7, 8}}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(recorder.imported, 4);
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(doc.m_nPairs, 0); // the page's commit counts them
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Import, ReadsNumbersAsStrtodDoesAndOnlyTheFirstTwo) {
    Run("1 2 3 4\r\nabc def\r\n-1.5e3 +.25x\r\n1e300 0x10\r\n");
    EXPECT_EQ(Read(), (Pairs{{1, 2}, {0, 0}, {-1500, 0.25}, {1e300, 16}}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Import, StopsAtAValueNoFitCouldUse) {
    for (const char* bad : {"1e400 1", "1 -1e999", "inf 2", "1 nan"}) {
        doc.m_pPairs.clear();
        ui.messages.clear();
        Run(std::string("5 6\r\n") + bad + "\r\n7 8\r\n");
        EXPECT_EQ(Read(), (Pairs{{5, 6}})) << bad;
        EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                        ":\nhas a value beyond the range of numbers (about "
                                        "1.8E+308)\nor one that is not a number!")
            << bad;
    }
}

TEST_F(Import, LinesEndWithCrLfOnly) {
    Run("1 2\n3 4\n");
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() + ":\nis NOT a valid data file!\n");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_EQ(doc.m_strLastPath, ""); // refused before the directory is remembered

    ui.messages.clear();
    Run("1 2\r\n3 4\r\n5 6");
    EXPECT_EQ(Read(), (Pairs{{1, 2}, {3, 4}})); // the unterminated last line is left
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_strLastPath, dir.path());
    EXPECT_EQ(settings.GetString("Preferences", "LastPath", ""), dir.path());
}

TEST_F(Import, ABlankLineEndsTheDataSilently) {
    Run("1 2\r\n\r\n3 4\r\n");
    EXPECT_EQ(Read(), (Pairs{{1, 2}}));
    EXPECT_TRUE(ui.messages.empty());
    Run(" ,;\r\n5 6\r\n"); // delimiters only count as blank
    EXPECT_EQ(Read(), (Pairs{{1, 2}}));
}

TEST_F(Import, AMissingYKeepsThePairsBefore) {
    Run("1 2\r\n3\r\n5 6\r\n");
    EXPECT_EQ(Read(), (Pairs{{1, 2}}));
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() + ":\nhas missing Y value!");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(Import, AZeroByteEndsTheImportAtItsLine) {
    Run(std::string("1 2\r\n3 4\0junk\r\n5 6\r\n", 21));
    EXPECT_EQ(Read(), (Pairs{{1, 2}}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Import, LongLinesAreRefusedWithTwoDifferentMessages) {
    const std::string tail = " characters\nwhich is this application's max!\n";
    // 1024 characters pass the first-line check and are then too long for a line.
    Run("1 " + std::string(1022, '2') + "\r\n");
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() + ":\ncontains lines longer than 1024" + tail);
    EXPECT_EQ(doc.m_strLastPath, dir.path()); // the first line passed its check
    ui.messages.clear();
    Run("1 " + std::string(1023, '2') + "\r\n");
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() + ":\n contains lines longer than 1024" + tail);
    EXPECT_TRUE(doc.m_pPairs.empty());
    ui.messages.clear();
    Run("1 2" + std::string(1020, ' ') + "\r\n5 6\r\n" + std::string(1024, '7') + "\r\n");
    EXPECT_EQ(Read().size(), 2u); // 1023 characters are fine; the pairs before stay
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() + ":\ncontains lines longer than 1024" + tail);
}

TEST_F(Import, EmptyMissingAndDirectoryFilesAreReported) {
    Run("");
    EXPECT_EQ(ui.OnlyMessage(), Path() + " is EMPTY!\nCan't Import!");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
    ui.messages.clear();
    ImportFile(doc, ui, dir.Path("none.txt"), &recorder);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(dir.Path("none.txt")), std::string::npos);
    ui.messages.clear();
    ImportFile(doc, ui, dir.path(), &recorder);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_EQ(ui.waitDepth, 0);
}

// A file of n bytes: lines "1 2\r\n" of 5 bytes, the last one padded with blanks.
std::string FileOfBytes(size_t n) {
    std::string text;
    while (text.size() + 5 <= n)
        text += "1 2\r\n";
    if (text.size() < n)
        text.insert(0, n - text.size(), ' ');
    return text;
}

TEST_F(Import, ProgressIsShownAbove10000BytesInTenths) {
    Run(FileOfBytes(10000));
    EXPECT_TRUE(recorder.progress.empty());
    EXPECT_EQ(ui.pumps, 0);
    EXPECT_EQ(doc.m_pPairs.size(), 2000u);

    doc.m_pPairs.clear();
    Run(FileOfBytes(10001));
    ASSERT_GE(recorder.progress.size(), 4u);
    EXPECT_EQ(recorder.progress.front(), -2);
    EXPECT_EQ(recorder.progress[1], 0);
    EXPECT_EQ(recorder.progress.back(), -1);                       // hidden at the end
    EXPECT_EQ(recorder.progress[recorder.progress.size() - 2], 0); // after going back to 0
    // A line counts its characters and its CR, not its LF: with 5-byte lines the bytes done
    // reach 80 % of the file, in steps of 10 %.
    std::vector<int> steps(recorder.progress.begin() + 2, recorder.progress.end() - 2);
    EXPECT_EQ(int(steps.size()), ui.pumps);
    ASSERT_EQ(steps.size(), 8u);
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_NEAR(steps[i], 10 * int(i + 1), 1) << i;
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(Import, ReadsNoMoreThanTenMillionBytes) {
    std::string text;
    while (text.size() < kImportByteLimit)
        text += "12345 67890\r\n";
    text.resize(kImportByteLimit - 3); // ends in "12345 6"
    text += "\r\n9 9\r\n";             // the limit falls inside the line "9 9"
    Run(text);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_pPairs.size(), (kImportByteLimit - 3) / 13 + 1);
    EXPECT_EQ(Read().back(), std::make_pair(12345.0, 6.0));
}

} // namespace
} // namespace lumetra
