// The import when the system fails it: memory runs out, or the input is no file at all.
#include "data/LumetraDoc.h"
#include "dataentry/ImportFile.h"
#include "support/DocTest.h"
#include "support/FailLargeAllocations.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace lumetra {
namespace {

struct ImportSafety : test::DocTest {
    test::TempDir dir;

    // 1 MB of "1 2" lines.
    std::string MegabyteOfPairs() {
        std::string text;
        for (int k = 0; k < 200000; ++k)
            text += "1 2\r\n";
        return dir.Write("in.txt", text);
    }
};

TEST_F(ImportSafety, NoMemoryForTheTextIsReportedAsTheFileErrorReportDoes) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "under the sanitizer new[] does not go through the failing operator new";
#endif
    const std::string path = MegabyteOfPairs();
    ImportResult result;
    {
        test::FailLargeAllocations fail(512 * 1024);
        result = ImportFile(doc, ui, path, nullptr);
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Failed to open document.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
    EXPECT_EQ(result.imported, 0);
    EXPECT_FALSE(result.outOfMemory);
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_EQ(ui.waitDepth, 0);
}

// The pairs grow by doubling: 32768 of them take 1 MB, the next step 2 MB.
TEST_F(ImportSafety, NoMemoryForThePairsKeepsThoseReadAndEndsThePage) {
    const std::string path = MegabyteOfPairs();
    ImportResult result;
    {
        test::FailLargeAllocations fail(2 << 20);
        result = ImportFile(doc, ui, path, nullptr);
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Out of Memory!\nSHUT DOWN APPLICATION!");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
    EXPECT_TRUE(result.outOfMemory);
    EXPECT_EQ(result.imported, 32768);
    EXPECT_EQ(doc.m_pPairs.size(), 32768u);
    EXPECT_EQ(ui.waitDepth, 0);
}

// However the memory runs out (for the pairs, or for the page's list that shows them), after a
// heading line or not: one message, the right one, and the page is told to end.
TEST_F(ImportSafety, NoMemoryGivesTheOneOutOfMemoryMessageAlone) {
    struct ListThatRunsOut : ImportListener {
        int left = 0;
        void OnPairImported(const CXYdata&) override {
            if (left-- == 0)
                throw std::bad_alloc();
        }
        void OnProgressShown(bool) override {}
        void OnProgress(int) override {}
    };
    for (const bool heading : {false, true})
        for (const bool listRunsOut : {false, true}) {
            SCOPED_TRACE((heading ? "heading, " : "") +
                         std::string(listRunsOut ? "list" : "pairs"));
            ui.messages.clear();
            std::vector<CXYdata>().swap(doc.m_pPairs); // the pairs grow by doubling from nothing
            std::string text = heading ? "X Y\r\n" : "";
            for (int k = 0; k < 40000; ++k)
                text += "1 2\r\n";
            const std::string path = dir.Write("in.txt", text);
            ListThatRunsOut list;
            list.left = listRunsOut ? 100 : 1 << 30;
            ImportResult result;
            {
                test::FailLargeAllocations fail(listRunsOut ? size_t(1) << 30 : 512 * 1024);
                EXPECT_NO_THROW(result = ImportFile(doc, ui, path, &list));
            }
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, "Out of Memory!\nSHUT DOWN APPLICATION!");
            EXPECT_TRUE(result.outOfMemory);
            EXPECT_EQ(result.imported, listRunsOut ? 40000 : 8192);
            EXPECT_EQ(ui.waitDepth, 0);
            EXPECT_EQ(ui.waitEnds, ui.waitBegins);
        }
}

TEST_F(ImportSafety, APipeOrDeviceIsRefusedWithoutWaiting) {
    const std::string fifo = dir.Path("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        ui.messages.clear();
        const ImportResult result = ImportFile(doc, ui, path, nullptr);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text,
                  "File " + path + ":\nis NOT a file but a pipe, device or socket!");
        EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
        EXPECT_EQ(result.imported, 0);
    }
    EXPECT_EQ(settings.GetString("Preferences", "LastPath"), "");
}

} // namespace
} // namespace lumetra
