#include "data/DocumentBackup.h"
#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "data/RoundTrip.h"
#include "dataentry/DataPageRules.h"
#include "report/TableExport.h"
#include "support/DocTest.h"
#include "support/FailLargeAllocations.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <functional>

namespace lumetra {
namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The last field of the second line of text (after the header or the first copied pair).
double LastField(const std::string& text, size_t line, char separator) {
    size_t at = 0;
    for (size_t k = 0; k < line; ++k)
        at = text.find('\n', at) + 1;
    const size_t end = text.find_first_of("\r\n", at);
    const size_t from = text.rfind(separator, end) + 1;
    return TextToDouble(text.substr(from, end - from));
}

std::string CsvOf(const CLumetraDoc& doc) {
    const int fd = ::memfd_create("table", 0);
    EXPECT_EQ(WriteTable(fd, doc, TableFileFormat::Csv), 0);
    std::string text(size_t(::lseek(fd, 0, SEEK_CUR)), '\0');
    EXPECT_EQ(::pread(fd, text.data(), text.size(), 0), ssize_t(text.size()));
    ::close(fd);
    return text;
}

struct SigmaEntry : test::DocTest {
    test::TempDir dir;
    int refresh = 0;

    void SetUp() override {
        doc.OnNewDocument();
        doc.BuildFormats();
    }
};

// A standard deviation typed, imported or pasted keeps every bit through the page's commit, a
// save and a reopen, the CSV export and a copy from the list of the reopened set.
TEST_F(SigmaEntry, SurvivesEveryWayInAndOutToTheLastBit) {
    const double sigmas[] = {
        0.1, 0.30000000000000004, 5e-324, 1.2345678901234567e15, 1e6 + 0.123456789, 2.5e-9};
    const std::function<void(DataPageRules&, const std::string&)> ways[] = {
        [](DataPageRules& page, const std::string& s) {
            page.m_strX = "2024.5";
            page.m_strY = "1000000.25";
            page.m_strSigma = s;
            EXPECT_TRUE(page.OnAdd());
        },
        [this](DataPageRules& page, const std::string& s) {
            EXPECT_TRUE(page.ImportPath(dir.Write("in.txt", "2024.5\t1000000.25\t" + s + "\r\n")));
        },
        [](DataPageRules& page, const std::string& s) {
            EXPECT_TRUE(page.OnPaste("2024.5\t1000000.25\t" + s + "\n"));
        },
    };
    for (const auto& way : ways)
        for (const double sigma : sigmas) {
            SCOPED_TRACE(RoundTripNumber(sigma));
            doc.m_pPairs = {{1, 2}};
            DataPageRules page(doc, ui, 1000, refresh);
            page.OnSetActive();
            EXPECT_EQ(page.m_bSigmaColumn, 0);
            ASSERT_TRUE(page.SetSigmaColumn(true));
            way(page, RoundTripNumber(sigma));
            page.OnKillActive();
            ASSERT_EQ(doc.m_pPairs.size(), 2u);
            EXPECT_TRUE(SameBits(doc.m_pPairs[1].m_dSigma, sigma));
            ASSERT_TRUE(doc.OnSaveDocument(dir.Path("s.dat")));

            CLumetraDoc back(ui, settings);
            ASSERT_TRUE(back.OnOpenDocument(dir.Path("s.dat")));
            EXPECT_TRUE(SameBits(back.m_pPairs[1].m_dSigma, sigma));
            EXPECT_EQ(back.m_pPairs[0].m_dSigma, 0.0);
            EXPECT_TRUE(SameBits(LastField(CsvOf(back), 2, ','), sigma));

            DataPageRules again(back, ui, 1000, refresh);
            again.OnSetActive();
            EXPECT_EQ(again.m_bSigmaColumn, 1) << "shown when the set has σ";
            again.SetSelection({0, 1}, 1);
            const std::string copied = again.SelectedPairsText();
            EXPECT_EQ(copied.substr(0, copied.find('\n')), "1\t2") << "no σ, no column";
            EXPECT_TRUE(SameBits(LastField(copied, 1, '\t'), sigma));
            EXPECT_TRUE(ui.messages.empty()) << ui.messages.back().text;
        }
}

// The σ field is checked as X and Y are, after them, and must be above 0; the focus goes to it.
// Every field must read whole: "1e", "+-1" and "." are no numbers, never 1 or 0.
TEST_F(SigmaEntry, TheFieldsRefuseWhatIsNoNumberOrNoStandardDeviation) {
    DataPageRules page(doc, ui, 1000, refresh);
    page.OnSetActive();
    page.SetSigmaColumn(true);
    struct Case {
        const char* sigma;
        const char* message;
    } cases[] = {
        {"", "Standard deviation may NOT be empty!"},
        {"  ", "Standard deviation may NOT be empty!"},
        {"0.1.2", "Only one decimal point is allowed!"},
        {"s1", "'s' is NOT a valid number character!"},
        {"0", "Standard deviation must be above 0!"},
        {"-0.5", "Standard deviation must be above 0!"},
        {"1e999", "Value is beyond the range of numbers (about 1.8E+308)!"},
        {"1e", "'1e' is NOT a valid number!"},
        {".", "'.' is NOT a valid number!"},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        page.m_strX = "1";
        page.m_strY = "2";
        page.m_strSigma = c.sigma;
        EXPECT_FALSE(page.OnAdd()) << c.sigma;
        EXPECT_EQ(ui.OnlyMessage(), c.message);
        EXPECT_EQ(page.Focus(), DataField::kSigma);
        EXPECT_TRUE(page.Lines().empty());
    }
    page.m_strSigma = "0.5";
    page.m_strX = "";
    ui.messages.clear();
    EXPECT_FALSE(page.OnAdd());
    EXPECT_EQ(ui.OnlyMessage(), "X value may NOT be empty!") << "X and Y come first";
    for (const char* text : {"1e", "+-1", "."})
        for (DataField field : {DataField::kX, DataField::kY}) {
            ui.messages.clear();
            page.m_strX = field == DataField::kX ? text : "1";
            page.m_strY = field == DataField::kY ? text : "2";
            EXPECT_FALSE(page.OnAdd()) << text;
            EXPECT_EQ(ui.OnlyMessage(), std::string("'") + text + "' is NOT a valid number!");
            EXPECT_EQ(page.Focus(), field);
        }
    // Without the column the field is not read.
    page.SetSigmaColumn(false);
    page.m_strX = "1";
    page.m_strY = "2";
    page.m_strSigma = "abc";
    EXPECT_TRUE(page.OnAdd());
    EXPECT_EQ(page.Lines().back(), doc.PairFormat().Format({1.0, 2.0}));
}

// A double-click brings σ into its field; Edit with the fields unchanged keeps every digit.
// Hiding the column removes the standard deviations only when the user agrees, and Cancel puts
// them back.
TEST_F(SigmaEntry, TheColumnIsEditedAndRemovedOnlyWhenTheUserAgrees) {
    doc.m_pPairs = {{1, 2, 0, 0, 0.123456789}, {3, 4}};
    DocumentBackup backup(doc);
    DataPageRules page(doc, ui, 1, refresh, &backup); // one pair a page: σ on another page too
    page.OnSetActive();
    ASSERT_EQ(page.Lines().size(), 1u);
    EXPECT_EQ(page.Lines()[0], "1.00000         \t2.00000         \t0.12346         ");
    page.SetSelection({0}, 0);
    ASSERT_TRUE(page.OnListDblClk());
    EXPECT_EQ(page.m_strSigma, "0.12346         ");
    ASSERT_TRUE(page.OnEdit());
    page.CommitList();
    EXPECT_EQ(doc.m_pPairs[0].m_dSigma, 0.123456789);

    ui.answers = {Ui::Answer::No};
    EXPECT_FALSE(page.SetSigmaColumn(false));
    EXPECT_EQ(ui.OnlyMessage(), "The standard deviations of all pairs will be removed.\n"
                                "Remove them?");
    EXPECT_EQ(page.m_bSigmaColumn, 1);
    ui.answers = {Ui::Answer::Yes};
    ASSERT_TRUE(page.SetSigmaColumn(false));
    EXPECT_EQ(page.Lines()[0], "1.00000         \t2.00000         ");
    page.CommitList();
    EXPECT_EQ(doc.m_pPairs[0].m_dSigma, 0.0);
    backup.Restore(doc);
    EXPECT_EQ(doc.m_pPairs[0].m_dSigma, 0.123456789);
}

// An edited or moved pair stays out of the fit; a pair added or pasted goes in; Cancel puts the
// set back.
TEST_F(SigmaEntry, ExclusionStaysWithItsPairThroughEdits) {
    doc.m_pPairs = {{1, 2, 0, 0, 0.5, true}, {3, 4}};
    DocumentBackup backup(doc);
    DataPageRules page(doc, ui, 10, refresh, &backup);
    page.OnSetActive();
    page.SetSelection({0}, 0);
    ASSERT_TRUE(page.OnListDblClk());
    page.m_strY = "2.5";
    ASSERT_TRUE(page.OnEdit());
    page.SetSelection({0}, 0);
    ASSERT_TRUE(page.OnMoveDown());
    page.m_strX = "5";
    page.m_strY = "6";
    page.m_strSigma = "1";
    ASSERT_TRUE(page.OnAdd());
    ASSERT_TRUE(page.OnPaste("7\t8\t1\n"));
    page.CommitList();
    ASSERT_EQ(doc.m_pPairs.size(), 4u);
    const bool excluded[] = {false, true, false, false};
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ(doc.m_pPairs[k].m_bExcluded, excluded[k]) << k;
    EXPECT_EQ(doc.m_pPairs[1].m_dY, 2.5);
    backup.Restore(doc);
    EXPECT_TRUE(doc.m_pPairs[0].m_bExcluded);
}

// Without memory for the copy Cancel needs, hiding the column removes nothing, says so and ends
// the sheet.
TEST_F(SigmaEntry, NoMemoryToKeepThemForCancelLeavesTheStandardDeviations) {
    doc.m_pPairs.assign(100000, CXYdata{1, 2, 0, 0, 0.5});
    DocumentBackup backup(doc);
    DataPageRules page(doc, ui, 1000, refresh, &backup);
    page.OnSetActive();
    ui.answers = {Ui::Answer::Yes};
    {
        test::FailLargeAllocations fail(size_t(1) << 20);
        EXPECT_FALSE(page.SetSigmaColumn(false));
    }
    EXPECT_TRUE(page.EndDialogRequested());
    EXPECT_EQ(ui.messages.back().text, "Out of Memory!\nSHUT DOWN APPLICATION!");
    EXPECT_EQ(page.m_bSigmaColumn, 1);
    EXPECT_EQ(doc.m_pPairs.back().m_dSigma, 0.5);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
} // namespace lumetra
