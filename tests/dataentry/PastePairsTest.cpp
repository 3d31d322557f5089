#include "dataentry/PastePairs.h"
#include "data/LumetraDoc.h"
#include "data/XYdata.h"
#include "dataentry/DataPageRules.h"
#include "dataentry/ImportFile.h"
#include "platform/MemorySettingsStore.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

// The importer reads the text as it reads a file; only a text without numbers is refused.
TEST(PastePairs, TextWithoutNumbersIsNothingToPaste) {
    EXPECT_EQ(PasteTextForImport("Length\tForce\r\n1\t2\r"), "Length\tForce\r\n1\t2\r");
    EXPECT_EQ(PasteTextForImport("1,5;2,5\n"), "1,5;2,5\n");
    EXPECT_EQ(PasteTextForImport("hello world\nno numbers here\n"), "");
    EXPECT_EQ(PasteTextForImport(""), "");
    EXPECT_EQ(PasteTextForImport("\r\n\n"), "");
}

TEST(PastePairs, TheImporterReadsTextInMemoryWithItsOwnMessages) {
    test::RecordingUi ui;
    std::vector<CXYdata> pairs;
    const std::string text = PasteTextForImport("X,Y\n1.5,2\n3e2,-4\n5\n");
    const ImportResult r =
        ImportText(pairs, ui, kPastedTextSource, text.data(), text.size(), nullptr);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.imported, 2);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].m_dX, 1.5);
    EXPECT_EQ(pairs[1].m_dX, 300.0);
    EXPECT_EQ(pairs[1].m_dY, -4.0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The pasted text:\nline 4 has missing Y value!\nThe import "
                                   "stopped at that line.\n1 line before the first pair holds "
                                   "no numbers; it was skipped.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);

    ui.messages.clear();
    pairs.clear();
    const std::string huge = PasteTextForImport("1 1e999\n");
    ImportText(pairs, ui, kPastedTextSource, huge.data(), huge.size(), nullptr);
    EXPECT_TRUE(pairs.empty());
    EXPECT_EQ(ui.OnlyMessage(), "The pasted text:\nline 1 has a value beyond the range of numbers "
                                "(about 1.8E+308)\nor one that is not a number!\nThe import "
                                "stopped at that line.");
}

TEST(PastePairs, APasteReadsNoMoreThanAFileImportWould) {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    doc.OnNewDocument();
    int refresh = 0;
    DataPageRules page(doc, ui, 128000, refresh);
    page.OnSetActive();
    // 10000 lines of 1002 bytes: the 9981st crosses the 10,000,000th byte and is not read.
    const std::string line = "1 2" + std::string(997, ' ') + "\r\n";
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += line;
    ASSERT_TRUE(page.OnPaste(text));
    EXPECT_EQ(ui.OnlyMessage(), "The pasted text:\nis longer than 10000000 bytes; only the lines "
                                "in its first 10000000 bytes were read!");
    EXPECT_EQ(page.Lines().size(), 9980u);
    EXPECT_EQ(page.m_nTotal, 9980);
    EXPECT_EQ(page.m_strPoints, "9980/9980");
}

} // namespace
} // namespace lumetra
