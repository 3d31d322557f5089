// Files as users have them, each imported from its file and pasted as text: the same pairs and
// the same words, whatever the user answers when lines among the pairs are not pairs.
#include "data/LumetraDoc.h"
#include "dataentry/ImportFile.h"
#include "dataentry/PastePairs.h"
#include "platform/MemorySettingsStore.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <utility>

namespace lumetra {
namespace {

using Pairs = std::vector<std::pair<double, double>>;

Pairs Of(const std::vector<CXYdata>& pairs) {
    Pairs out;
    for (const CXYdata& p : pairs)
        out.emplace_back(p.m_dX, p.m_dY);
    return out;
}

struct Case {
    const char* file;
    Ui::Answer answer; // to the question, when one is asked
    Pairs pairs;
    std::vector<std::string> messages; // each after "<source>:\n"
};

const std::string kBadLinesQuestion =
    "line 4 holds \"n/a\", which is not a number!\n3 lines are not X/Y pairs: lines 4, 6 and "
    "9.\nSkip the lines that are not X/Y pairs and read on?\nNo stops the import at line 4.";
const std::string kOneHeading = "1 line before the first pair holds no numbers; it was skipped.";

const Case kCases[] = {
    {"decimal-comma.csv",
     Ui::Answer::No,
     {{0, 21.5}, {0.5, 22.25}, {1, 23}},
     {"The numbers were read with a decimal comma: \"21,5\" as 21.5.\n" + kOneHeading}},
    {"decimal-comma-tab.txt",
     Ui::Answer::No,
     {{1.25, -3.5}, {2.5, -7}, {3.75, -10.5}},
     {"The numbers were read with a decimal comma: \"1,25\" as 1.25."}},
    {"four-numbers.txt",
     Ui::Answer::No,
     {{1, 2}, {5, 6}, {9, 10}},
     {"2 lines hold more than two numbers (the first is line 1); the first two of each were "
      "taken as X and Y."}},
    {"bad-lines.txt",
     Ui::Answer::Yes,
     {{1, 2}, {3, 4}, {5, 6}, {8, 9}, {11, 12}},
     {kBadLinesQuestion,
      "3 lines that are not X/Y pairs were skipped: lines 4, 6 and 9.\n" + kOneHeading}},
    {"bad-lines.txt", Ui::Answer::No, {{1, 2}, {3, 4}}, {kBadLinesQuestion, kOneHeading}},
    {"numbered-heading.txt",
     Ui::Answer::Yes,
     {{1, 2}},
     {"line 1 holds \"Sample\", which is not a number!\nSkip the lines that are not X/Y pairs "
      "and read on?\nNo stops the import at line 1.",
      "1 line that is not an X/Y pair was skipped: line 1."}},
    {"blank-then-numbers.txt",
     Ui::Answer::Yes,
     {{1, 2}, {3, 4}, {5, 6}},
     {"the blank line 2 is followed by more pairs!\nSkip the lines that are not X/Y pairs and "
      "read on?\nNo stops the import at line 2."}},
};

void ExpectMessages(const test::RecordingUi& ui, const std::string& source, const Case& c) {
    ASSERT_EQ(ui.messages.size(), c.messages.size()) << source;
    for (size_t i = 0; i < c.messages.size(); ++i)
        EXPECT_EQ(ui.messages[i].text, source + ":\n" + c.messages[i]) << c.file;
}

TEST(ImportCorpus, AFileAndItsTextPastedGiveTheSamePairsAndWords) {
    for (const Case& c : kCases) {
        const std::string path = LUMETRA_SOURCE_DIR "/tests/data/import/" + std::string(c.file);
        test::RecordingUi ui;
        ui.answers = {c.answer};
        MemorySettingsStore settings;
        CLumetraDoc doc(ui, settings);
        const ImportResult file = ImportFile(doc, ui, path, nullptr);
        EXPECT_EQ(Of(doc.m_pPairs), c.pairs) << c.file;
        ExpectMessages(ui, "File " + path, c);

        test::RecordingUi pasteUi;
        pasteUi.answers = {c.answer};
        const std::string text = PasteTextForImport(test::TempDir::Read(path));
        std::vector<CXYdata> pasted;
        const ImportResult paste =
            ImportText(pasted, pasteUi, kPastedTextSource, text.data(), text.size(), nullptr);
        EXPECT_EQ(Of(pasted), c.pairs) << c.file;
        ExpectMessages(pasteUi, kPastedTextSource, c);
        EXPECT_EQ(paste.complete, file.complete) << c.file;
        EXPECT_EQ(file.complete, c.answer == Ui::Answer::Yes || c.messages.size() == 1) << c.file;
    }
}

// Told without asking, as lumetra-cli's --skip-bad-lines does: the first five lines named, the
// rest counted.
TEST(ImportCorpus, SkippedLinesAreNamedToTheFifthAndCounted) {
    test::RecordingUi ui;
    std::vector<CXYdata> pairs;
    const std::string text = "1 2\nx\n3 4\nx\nx\nx\nx\n5 6\nx\nx\n7 8\n";
    const ImportResult r =
        ImportText(pairs, ui, "T", text.data(), text.size(), nullptr, false, BadLines::Skip);
    EXPECT_EQ(Of(pairs), (Pairs{{1, 2}, {3, 4}, {5, 6}, {7, 8}}));
    EXPECT_EQ(r.notPairs, 7);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(ui.OnlyMessage(), "T:\n7 lines that are not X/Y pairs were skipped: lines 2, 4, 5, "
                                "6, 7 and 2 more.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Information);
}

} // namespace
} // namespace lumetra
