#include "dataentry/ImportFile.h"
#include "data/LumetraDoc.h"
#include "support/DocTest.h"
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

struct Import : test::DocTest {
    test::TempDir dir;
    Recorder recorder;

    ImportResult Run(std::string_view bytes, BadLines badLines = BadLines::Ask) {
        return ImportFile(doc, ui, dir.Write("in.txt", bytes), &recorder, badLines);
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

TEST_F(Import, ReadsNumbersAsStrtodDoesAndNamesLinesOfMoreThanTwo) {
    Run("1 2 3 4\r\n-1.5e3 +.25\r\n1e300 0x10\r\n7 8 # the last one\r\n");
    EXPECT_EQ(Read(), (Pairs{{1, 2}, {-1500, 0.25}, {1e300, 16}, {7, 8}}));
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                    ":\nline 1 holds 4 numbers; its first two were taken as X "
                                    "and Y.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Information);
}

TEST_F(Import, StopsAtAValueNoFitCouldUse) {
    for (const char* bad : {"1e400 1", "1 -1e999", "inf 2", "1 nan"}) {
        doc.m_pPairs.clear();
        ui.messages.clear();
        Run(std::string("5 6\r\n") + bad + "\r\n7 8\r\n", BadLines::Stop);
        EXPECT_EQ(Read(), (Pairs{{5, 6}})) << bad;
        EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                        ":\nline 2 has a value beyond the range of numbers (about "
                                        "1.8E+308)\nor one that is not a number!\nThe import "
                                        "stopped at that line.")
            << bad;
    }
}

TEST_F(Import, ReadsLfCrLfAndCrLineEndsAndALastLineWithoutOne) {
    for (const char* text :
         {"1 2\n3 4\n5 6", "1 2\r\n3 4\r\n5 6", "1 2\r3 4\r5 6", "1 2\n3 4\r\n5 6\r"}) {
        doc.m_pPairs.clear();
        Run(text);
        EXPECT_EQ(Read(), (Pairs{{1, 2}, {3, 4}, {5, 6}})) << text;
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_strLastPath, dir.path());
    EXPECT_EQ(settings.GetString("Preferences", "LastPath", ""), dir.path());
    doc.m_pPairs.clear();
    Run("7 8"); // one line, no line end at all
    EXPECT_EQ(Read(), (Pairs{{7, 8}}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Import, ABlankLineEndsTheDataAndTellsOfNumbersAfterIt) {
    Run("1 2\r\n\r\n3 4\r\n", BadLines::Stop);
    EXPECT_EQ(Read(), (Pairs{{1, 2}}));
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                    ":\nthe blank line 2 ended the import;\n1 line with numbers "
                                    "after it was not read!");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
    ui.messages.clear();
    doc.m_pPairs.clear();
    Run("1 2\n3 4\n ,;\nnote\n5 6\n7\n", BadLines::Stop); // delimiters only count as blank
    EXPECT_EQ(Read(), (Pairs{{1, 2}, {3, 4}}));
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                    ":\nthe blank line 3 ended the import;\n2 lines with numbers "
                                    "after it were not read!");
    ui.messages.clear();
    doc.m_pPairs.clear();
    Run("1 2\n\n\nend of data\n\n"); // nothing with numbers follows: nothing to tell
    EXPECT_EQ(Read(), (Pairs{{1, 2}}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Import, LinesWithoutNumbersBeforeTheFirstPairAreSkippedAndCounted) {
    Run("time;conc\r\n0;10\r\n");
    EXPECT_EQ(Read(), (Pairs{{0, 10}}));
    EXPECT_EQ(ui.OnlyMessage(),
              "File " + Path() +
                  ":\n1 line before the first pair holds no numbers; it was skipped.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Information);
    ui.messages.clear();
    doc.m_pPairs.clear();
    // Blank lines before the data are no end of it.
    ImportResult result = Run("X Y\n\nabc def\n1 2\n");
    EXPECT_EQ(result.skipped, 3);
    EXPECT_EQ(result.imported, 1);
    EXPECT_EQ(Read(), (Pairs{{1, 2}}));
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                    ":\n3 lines before the first pair hold no numbers; they were "
                                    "skipped.");
    ui.messages.clear();
    doc.m_pPairs.clear();
    // A problem later is told with the skipped lines in the same message.
    Run("time;conc\n0;10\n1\n");
    EXPECT_EQ(Read(), (Pairs{{0, 10}}));
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                    ":\nline 3 has missing Y value!\nThe import stopped at that "
                                    "line.\n1 line before the first pair holds no numbers; it "
                                    "was skipped.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
}

TEST_F(Import, AFileOfTextOnlyHoldsNoPairs) {
    Run("time;conc\nh;mg/L\n");
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_EQ(ui.OnlyMessage(),
              "File " + Path() + ":\nholds no X/Y pairs: none of its 2 lines holds numbers!");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
    ui.messages.clear();
    Run("\r\n");
    EXPECT_EQ(ui.OnlyMessage(),
              "File " + Path() + ":\nholds no X/Y pairs: its one line holds no numbers!");
}

TEST_F(Import, ALineThatIsNotNumbersStopsTheImportAndIsNamed) {
    Run("1 2\n3 4\n12abc 5\n6 7\n", BadLines::Stop);
    EXPECT_EQ(Read(), (Pairs{{1, 2}, {3, 4}}));
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                    ":\nline 3 holds \"12abc\", which is not a number!\nThe "
                                    "import stopped at that line.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
    const std::pair<const char*, const char*> cases[] = {
        {"1 2\n3 x\n", "line 2 holds \"x\""},
        {"1 2\n3 4kg\n", "line 2 holds \"4kg\""},
        {"12abc\n1 2\n", "line 1 holds \"12abc\""}, // begins as a number: no heading
        {"Sample 1 of 3\n1 2\n", "line 1 holds \"Sample\""},
        {"1 2\nwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww 3\n", // quoted cut to 30 characters
         "line 2 holds \"wwwwwwwwwwwwwwwwwwwwwwwwwwwwww...\""},
        {"1 2\n\xc3\xa9\xc3\xa9 3\n", "line 2 holds \"\xc3\xa9\xc3\xa9\""},
    };
    for (const auto& [text, named] : cases) {
        ui.messages.clear();
        Run(text, BadLines::Stop);
        ASSERT_EQ(ui.messages.size(), 1u) << text;
        EXPECT_EQ(ui.messages[0].text, "File " + Path() + ":\n" + named +
                                           ", which is not a number!\nThe import stopped at that "
                                           "line.")
            << text;
    }
}

TEST_F(Import, AMissingYKeepsThePairsBefore) {
    Run("1 2\r\n3\r\n5 6\r\n", BadLines::Stop);
    EXPECT_EQ(Read(), (Pairs{{1, 2}}));
    EXPECT_EQ(ui.OnlyMessage(),
              "File " + Path() +
                  ":\nline 2 has missing Y value!\nThe import stopped at that line.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(Import, AZeroByteIsNoPartOfANumber) {
    Run(std::string("1 2\r\n3 4\0junk\r\n5 6\r\n", 21), BadLines::Stop);
    EXPECT_EQ(Read(), (Pairs{{1, 2}}));
    using namespace std::string_literals;
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                    ":\nline 2 holds \"4\0junk\", which is not a number!\nThe "
                                    "import stopped at that line."s);
    ui.messages.clear();
    doc.m_pPairs.clear();
    Run(std::string("\x7f"
                    "ELF\0\0\0\n1 2\n",
                    12)); // a program, not a text
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() + ":\nis NOT a valid data file!\n");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
    EXPECT_TRUE(doc.m_pPairs.empty());
}

TEST_F(Import, LongLinesAreRefusedWithTwoDifferentMessages) {
    const std::string tail = " characters\nwhich is this application's max!\n";
    // 1024 characters pass the first-line check and are then too long for a line.
    Run("1 " + std::string(1022, '2') + "\r\n");
    EXPECT_EQ(ui.OnlyMessage(),
              "File " + Path() + ":\ncontains lines longer than 1024" + tail + "It is line 1.");
    EXPECT_EQ(doc.m_strLastPath, dir.path()); // the first line passed its check
    ui.messages.clear();
    Run("1 " + std::string(1023, '2') + "\r\n");
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() + ":\n contains lines longer than 1024" + tail);
    EXPECT_TRUE(doc.m_pPairs.empty());
    ui.messages.clear();
    Run("1 2" + std::string(1020, ' ') + "\r\n5 6\r\n" + std::string(1024, '7') + "\r\n");
    EXPECT_EQ(Read().size(), 2u); // 1023 characters are fine; the pairs before stay
    EXPECT_EQ(ui.OnlyMessage(),
              "File " + Path() + ":\ncontains lines longer than 1024" + tail + "It is line 3.");
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
    // The cut line would read as 9 alone; it is left, and the user told.
    EXPECT_EQ(ui.OnlyMessage(), "File " + Path() +
                                    ":\nis longer than 10000000 bytes; only the lines in its "
                                    "first 10000000 bytes were read!");
    EXPECT_EQ(doc.m_pPairs.size(), (kImportByteLimit - 3) / 13 + 1);
    EXPECT_EQ(Read().back(), std::make_pair(12345.0, 6.0));

    // Cut just after a line end, the file still holds more than was read.
    ui.messages.clear();
    doc.m_pPairs.clear();
    text.resize(kImportByteLimit - kImportByteLimit % 13);
    text += "1234 678\r\n9 9\r\n"; // the limit falls after "678\r\n"
    Run(text);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(Read().back(), std::make_pair(1234.0, 678.0));
}

// Files as they come from instruments, spreadsheets and editors.
TEST_F(Import, RealWorldShapes) {
    struct Case {
        const char* file;
        Pairs pairs;
        std::string message; // after "File <path>:\n"; empty: none
        Ui::Icon icon = Ui::Icon::Exclamation;
    };
    const Pairs decay = {{0, 10.2}, {1, 8.1}, {2, 6.6}};
    const std::string skipped1 = "1 line before the first pair holds no numbers; it was skipped.";
    const std::string skipped2 =
        "2 lines before the first pair hold no numbers; they were skipped.";
    const Case cases[] = {
        {"lf.txt", decay, ""},
        {"crlf.csv", decay, ""},
        {"cr.txt", decay, ""},
        {"header.csv", decay, skipped1, Ui::Icon::Information},
        {"units.csv", decay, skipped2, Ui::Icon::Information},
        {"spreadsheet.csv", {{0, 21.5}, {60, 23.25}}, skipped1, Ui::Icon::Information},
        {"comment.txt", {{0.5, 12.1}, {1.0, 14.3}, {1.5, 16.4}}, skipped2, Ui::Icon::Information},
        {"trailing-blank.txt", {{1, 2}, {3, 4}, {5, 6}}, ""},
        {"no-final-end.txt", {{1, 2}, {3, 4}, {5, 6}}, ""},
        {"glued.txt",
         {{1, 2}, {3, 4}},
         "line 3 holds \"12abc\", which is not a number!\nThe import stopped at that line.",
         Ui::Icon::Stop},
        {"middle-text.txt",
         {{1, 2}, {3, 4}},
         "line 3 holds \"n/a\", which is not a number!\nThe import stopped at that line.",
         Ui::Icon::Stop},
        {"blank-then-numbers.txt",
         {{1, 2}},
         "the blank line 2 ended the import;\n2 lines with numbers after it were not read!"},
        {"numbered-heading.txt",
         {},
         "line 1 holds \"Sample\", which is not a number!\nThe import stopped at that line.",
         Ui::Icon::Stop},
    };
    for (const Case& c : cases) {
        doc.m_pPairs.clear();
        ui.messages.clear();
        const std::string path = LUMETRA_SOURCE_DIR "/tests/data/import/" + std::string(c.file);
        ImportFile(doc, ui, path, nullptr, BadLines::Stop);
        EXPECT_EQ(Read(), c.pairs) << c.file;
        if (c.message.empty()) {
            EXPECT_TRUE(ui.messages.empty()) << c.file << ": " << ui.messages[0].text;
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1u) << c.file;
        EXPECT_EQ(ui.messages[0].text, "File " + path + ":\n" + c.message) << c.file;
        EXPECT_EQ(ui.messages[0].icon, c.icon) << c.file;
    }
}

// With σ asked for, the third number of each line is the pair's standard deviation, to the last
// bit; a line whose σ is missing, no number or not above 0 is not a pair, and is named.
TEST_F(Import, ReadsAThirdNumberAsTheStandardDeviationWhenAsked) {
    ImportResult result = ImportFile(doc, ui, dir.Write("in.txt", "1 2 0.1\r\n3;4;5e-324\r\n"),
                                     nullptr, BadLines::Stop, true);
    EXPECT_EQ(result.imported, 2);
    ASSERT_EQ(doc.m_pPairs.size(), 2u);
    EXPECT_EQ(doc.m_pPairs[0].m_dSigma, 0.1);
    EXPECT_EQ(doc.m_pPairs[1].m_dSigma, 5e-324);
    EXPECT_TRUE(ui.messages.empty());
    struct Case {
        const char* line2;
        const char* why;
    } cases[] = {
        {"3 4", "line 2 has missing standard deviation (its third number)!"},
        {"3 4 abc", "line 2 holds \"abc\" as standard deviation, which is not a number!"},
        {"3 4 0", "line 2 holds the standard deviation \"0\", which is not above 0!"},
        {"3 4 -0.5", "line 2 holds the standard deviation \"-0.5\", which is not above 0!"},
        {"3 4 1e999", "line 2 holds the standard deviation \"1e999\", which is not above 0!"},
    };
    for (const Case& c : cases) {
        doc.m_pPairs.clear();
        ui.messages.clear();
        result = ImportFile(
            doc, ui, dir.Write("in.txt", std::string("1 2 0.5\r\n") + c.line2 + "\r\n5 6 0.5\r\n"),
            nullptr, BadLines::Stop, true);
        EXPECT_EQ(Read(), (Pairs{{1, 2}})) << c.line2;
        EXPECT_EQ(ui.OnlyMessage(),
                  "File " + Path() + ":\n" + c.why + "\nThe import stopped at that line.");
    }
    doc.m_pPairs.clear();
    ui.messages.clear();
    Run("1 2 3 4\r\n"); // without σ asked for, as before
    EXPECT_EQ(doc.m_pPairs[0].m_dSigma, 0.0);
    ImportFile(doc, ui, dir.Write("in.txt", "1 2 3 4\r\n"), nullptr, BadLines::Stop, true);
    EXPECT_EQ(doc.m_pPairs[1].m_dSigma, 3.0);
    EXPECT_EQ(ui.messages.back().text, "File " + Path() +
                                           ":\nline 1 holds 4 numbers; its first three were "
                                           "taken as X, Y and the standard deviation.");
}

} // namespace
} // namespace lumetra
