#include "AppFixture.h"

#include "app/PrintSetupDlg.h"
#include "data/LumetraDoc.h"
#include "framework/CommandIds.h"
#include "report/ListingPrint.h"
#include "support/ExampleFile.h"

#include <QComboBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetra {
namespace {

struct Printing : test::AppFixture {
    std::string pdf;

    bool StartPrinting(int linesPerPage = 128000, const std::string& file = {}) {
        if (!Start({QString::fromStdString(file.empty() ? Sample() : file)}, linesPerPage))
            return false;
        pdf = dir.Path("report.pdf");
        app->Printer().setOutputFormat(QPrinter::PdfFormat);
        app->Printer().setOutputFileName(QString::fromStdString(pdf));
        return true;
    }
    CLumetraDoc& Doc() { return ActiveListing()->GetDocument(); }
    // A report of n numbered lines in place of the sample's.
    void SetLines(int n) {
        Doc().m_pReportLines.clear();
        for (int i = 1; i <= n; ++i)
            Doc().m_pReportLines.push_back("Report line " + std::to_string(i));
        Doc().m_nLineCount = n;
    }
    // The PDF's text, page by page, as pdftotext reads it.
    std::vector<std::string> PdfPages() const {
        const std::string text = dir.Path("report.txt");
        const std::string command = "pdftotext -layout '" + pdf + "' '" + text + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<std::string> pages;
        const std::string all = test::TempDir::Read(text);
        size_t from = 0;
        for (size_t ff; (ff = all.find('\f', from)) != std::string::npos; from = ff + 1)
            pages.push_back(all.substr(from, ff - from));
        return pages;
    }
    // The page's text lines, trailing blanks cut, empty lines left out.
    static std::vector<std::string> Lines(const std::string& page) {
        std::vector<std::string> lines;
        size_t from = 0;
        for (size_t nl; from < page.size(); from = nl + 1) {
            nl = page.find('\n', from);
            if (nl == std::string::npos)
                nl = page.size();
            std::string line = page.substr(from, nl - from);
            line.erase(line.find_last_not_of(' ') + 1);
            if (!line.empty())
                lines.push_back(line);
        }
        return lines;
    }
    int dialogs = 0;
    void AcceptPrintDialog(int expectedMaxPage) {
        dialogAnswer = [this, expectedMaxPage](QDialog& d) {
            ++dialogs;
            auto* print = qobject_cast<QPrintDialog*>(&d);
            EXPECT_NE(print, nullptr);
            if (print) {
                EXPECT_EQ(print->minPage(), 1);
                EXPECT_EQ(print->maxPage(), expectedMaxPage);
            }
            return int(QDialog::Accepted);
        };
    }
};

TEST_F(Printing, AvailableInTheListingOnceItHasAReport) {
    ASSERT_TRUE(StartPrinting());
    EXPECT_TRUE(Enabled(cmd::kFilePrint));
    EXPECT_TRUE(Enabled(cmd::kPrintPreview));
    EXPECT_TRUE(Enabled(cmd::kPrintSetup));
    // The same check keeps the page panes up to date.
    ui.status[2].clear();
    Enabled(cmd::kFilePrint);
    ASSERT_FALSE(ui.status[2].empty());
    EXPECT_EQ(ui.status[2].back(), "Display Page 1 of 1");
    SetLines(0);
    EXPECT_FALSE(Enabled(cmd::kFilePrint));
    EXPECT_FALSE(Enabled(cmd::kPrintPreview));
    // The plot window prints its plot, report or not, once it has pairs.
    CLumetraDoc& doc = Doc();
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    EXPECT_TRUE(Enabled(cmd::kFilePrint));
    EXPECT_TRUE(Enabled(cmd::kPrintPreview));
    EXPECT_TRUE(Enabled(cmd::kPrintSetup));
    doc.m_nPairs = 0;
    EXPECT_FALSE(Enabled(cmd::kFilePrint));
    EXPECT_FALSE(Enabled(cmd::kPrintPreview));
    doc.m_nPairs = 2;
}

TEST_F(Printing, APlotPrintsOnOneLandscapePageAndLeavesThePrinterUpright) {
    ASSERT_TRUE(StartPrinting());
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    AcceptPrintDialog(1);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFilePrint));
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(ui.messages.empty());
    const std::vector<std::string> pages = PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("Test"), std::string::npos) << pages[0]; // the plot's title
    const std::string info = dir.Path("info.txt");
    ASSERT_EQ(std::system(("pdfinfo '" + pdf + "' > '" + info + "'").c_str()), 0);
    double width = 0, height = 0;
    const std::string text = test::TempDir::Read(info);
    const size_t at = text.find("Page size:");
    ASSERT_NE(at, std::string::npos) << text;
    ASSERT_EQ(std::sscanf(text.c_str() + at, "Page size: %lf x %lf", &width, &height), 2);
    EXPECT_GT(width, height);
    EXPECT_EQ(app->Printer().pageLayout().orientation(), QPageLayout::Portrait);
}

TEST_F(Printing, FiftyFiveLinesGiveOnePage) {
    ASSERT_TRUE(StartPrinting());
    SetLines(55);
    AcceptPrintDialog(1);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFilePrint));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Doc().m_nPageCount, 1);
    const std::vector<std::string> pages = PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    const std::vector<std::string> lines = Lines(pages[0]);
    ASSERT_EQ(lines.size(), 55u);
    for (int i = 0; i < 55; ++i)
        EXPECT_EQ(lines[size_t(i)], "Report line " + std::to_string(i + 1));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Printing, FiftySixLinesGiveTwoPagesTheSecondWithOneLine) {
    ASSERT_TRUE(StartPrinting());
    SetLines(56);
    AcceptPrintDialog(2);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFilePrint));
    const std::vector<std::string> pages = PdfPages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(Lines(pages[0]).size(), 55u);
    EXPECT_EQ(Lines(pages[0]).back(), "Report line 55");
    EXPECT_EQ(Lines(pages[1]), (std::vector<std::string>{"Report line 56"}));
}

// pdftotext guesses the blanks from the glyph positions: compare words, not runs of blanks.
std::string Words(const std::string& line) {
    std::string words;
    for (char c : line) {
        const bool blank = c == ' ' || c == '\t';
        if (blank && (words.empty() || words.back() == ' '))
            continue;
        words += blank ? ' ' : c;
    }
    while (!words.empty() && words.back() == ' ')
        words.pop_back();
    return words;
}

TEST_F(Printing, TheSampleReportPrintsInOrderWithItsColumnsApart) {
    ASSERT_TRUE(StartPrinting());
    AcceptPrintDialog(1);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFilePrint));
    const std::vector<std::string> pages = PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    const std::vector<std::string> printed = Lines(pages[0]);
    // Every report line that shows anything, in order (the blank line prints nothing to see).
    std::vector<std::string> expected;
    for (const std::string& line : Doc().m_pReportLines)
        if (!Words(line).empty())
            expected.push_back(Words(line));
    ASSERT_EQ(expected.size(), size_t(Doc().m_nLineCount - 1));
    std::vector<std::string> got;
    for (const std::string& line : printed)
        got.push_back(Words(line));
    EXPECT_EQ(got, expected);
    // A table row: the TABs put the four numbers at the stops, apart from each other.
    const std::string& row = printed.back();
    const size_t b = row.find("5.00000"), c = row.find("5.00000", b + 1), d = row.find("0.00000");
    ASSERT_NE(d, std::string::npos) << row;
    EXPECT_EQ(row.find("2.00000"), 0u);
    EXPECT_GT(b, 16u); // past the padded field of 16
    EXPECT_GT(c - b, 16u);
    EXPECT_GT(d - c, 16u);
}

TEST_F(Printing, TitlesWithUtf8CharactersPrintWhole) {
    CLumetraDoc doc(ui, settings);
    test::FillExample(doc);
    doc.m_strXTitle = "Temp\xc3\xa9rature \xc2\xb0"
                      "C";
    doc.m_strYTitle = std::string(20, 'y') + "\xc2\xb5m"; // cut after 19 characters
    const std::string file = dir.Path("utf8.dat");
    ASSERT_TRUE(doc.OnSaveDocument(file));
    ASSERT_TRUE(StartPrinting(128000, file));
    AcceptPrintDialog(1);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFilePrint));
    const std::vector<std::string> pages = PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].find("\xef\xbf\xbd"), std::string::npos); // no replacement glyph
    std::string header;
    for (const std::string& line : Lines(pages[0]))
        if (line.find("Computed Value") != std::string::npos)
            header = Words(line);
    EXPECT_EQ(header, "|- Temp\xc3\xa9rature \xc2\xb0"
                      "C --| " +
                          std::string(19, 'y') + " |- Computed Value --| |--- Difference ----|");
}

TEST_F(Printing, PrintedPagesDoNotDependOnTheDisplayPageShown) {
    ASSERT_TRUE(StartPrinting(10)); // 18 lines: two display pages of 10
    ASSERT_EQ(ActiveListing()->Report().m_nDisplayPages, 2);
    AcceptPrintDialog(1);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFilePrint));
    const std::vector<std::string> fromFirst = PdfPages();
    std::filesystem::remove(pdf);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNextPage));
    ASSERT_EQ(ActiveListing()->Report().m_nCurPage, 2);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFilePrint));
    EXPECT_EQ(PdfPages(), fromFirst);
    ASSERT_EQ(fromFirst.size(), 1u);
    EXPECT_EQ(Lines(fromFirst[0])[0], std::string(80, '-'));
    // Printing left the window's page alone.
    EXPECT_EQ(ActiveListing()->Report().m_nCurPage, 2);
}

TEST_F(Printing, ACancelledDialogPrintsNothing) {
    ASSERT_TRUE(StartPrinting());
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFilePrint)); // the fixture cancels
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(Doc().m_nPageCount, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Printing, AnEmptyReportOpensNoDialog) {
    ASSERT_TRUE(StartPrinting());
    SetLines(0);
    AcceptPrintDialog(0);
    EXPECT_FALSE(ActiveListing()->OnFilePrint(false));
    ActiveListing()->OnFilePrintPreview();
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(Doc().m_nPageCount, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Printing, APrinterThatCannotStartSaysSo) {
    ASSERT_TRUE(StartPrinting());
    const std::string missing = dir.Path("no/such/dir/r.pdf");
    app->Printer().setOutputFileName(QString::fromStdString(missing));
    AcceptPrintDialog(1);
    EXPECT_FALSE(ActiveListing()->OnFilePrint(false));
    EXPECT_EQ(ui.OnlyMessage(), "The printer could not start!\nThe report of " + Sample() +
                                    " was not printed.\n" + missing +
                                    " contains an invalid path.\nAny earlier file of that name "
                                    "is unchanged.");
}

// Printing into a file saves it as every file is saved: a pipe is refused, a hard-linked file
// keeps its other name, and the printer goes on printing into that file.
TEST_F(Printing, PrintingToAFileSavesItAsADataFileIsSaved) {
    ASSERT_TRUE(StartPrinting());
    AcceptPrintDialog(1);
    const std::string fifo = dir.Path("pipe.pdf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    app->Printer().setOutputFileName(QString::fromStdString(fifo));
    EXPECT_FALSE(ActiveListing()->OnFilePrint(false));
    EXPECT_EQ(ui.OnlyMessage(),
              "File " + fifo + ":\nwas NOT saved: it is a pipe, device or socket, not a file!");
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
    ui.messages.clear();
    const std::string other = dir.Path("other.pdf");
    dir.Write("report.pdf", "earlier");
    ASSERT_EQ(::link(pdf.c_str(), other.c_str()), 0);
    app->Printer().setOutputFileName(QString::fromStdString(pdf));
    EXPECT_TRUE(ActiveListing()->OnFilePrint(false));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(app->Printer().outputFileName().toStdString(), pdf);
    EXPECT_EQ(std::filesystem::hard_link_count(pdf), 2u);
    EXPECT_EQ(test::TempDir::Read(other), test::TempDir::Read(pdf));
    EXPECT_EQ(PdfPages().size(), 1u);
}

TEST_F(Printing, ThePreviewShowsEveryPageAndKeepsItsPageSetting) {
    ASSERT_TRUE(StartPrinting());
    SetLines(120); // three pages
    settings.SetString("Settings", "PreviewPages", "2");
    int previewPages = -1;
    QPrintPreviewWidget::ViewMode shown = QPrintPreviewWidget::AllPagesView;
    dialogAnswer = [&](QDialog& d) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(&d);
        EXPECT_NE(preview, nullptr);
        auto* widget = d.findChild<QPrintPreviewWidget*>();
        EXPECT_NE(widget, nullptr);
        if (widget) {
            widget->updatePreview();
            previewPages = widget->pageCount();
            shown = widget->viewMode();
            widget->setViewMode(QPrintPreviewWidget::SinglePageView); // the user's choice
        }
        return int(QDialog::Rejected);
    };
    ASSERT_TRUE(Frame().RouteCommand(cmd::kPrintPreview));
    EXPECT_EQ(previewPages, 3);
    EXPECT_EQ(shown, QPrintPreviewWidget::FacingPagesView);
    EXPECT_EQ(settings.GetString("Settings", "PreviewPages"), "1");
    EXPECT_FALSE(std::filesystem::exists(pdf)); // a preview prints nothing
}

TEST_F(Printing, PrintSetupChoosesThePaperOfTheApplicationsPrinter) {
    ASSERT_TRUE(StartPrinting());
    QStringList printers;
    dialogAnswer = [&](QDialog& d) {
        auto* setup = dynamic_cast<CPrintSetupDlg*>(&d);
        EXPECT_NE(setup, nullptr);
        if (!setup)
            return int(QDialog::Rejected);
        for (int i = 0; i < setup->m_comboPrinter->count(); ++i)
            printers << setup->m_comboPrinter->itemText(i);
        setup->m_comboPaper->setCurrentIndex(setup->m_comboPaper->findText("Letter"));
        setup->m_radioLandscape->setChecked(true);
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(Frame().RouteCommand(cmd::kPrintSetup));
    // The installed printers, then the PDF file the printer writes to now.
    EXPECT_EQ(printers, QPrinterInfo::availablePrinterNames() << "Print to File (PDF)");
    EXPECT_EQ(app->Printer().pageLayout().pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(app->Printer().pageLayout().orientation(), QPageLayout::Landscape);
    // Cancel changes nothing.
    dialogAnswer = [](QDialog& d) {
        auto& setup = dynamic_cast<CPrintSetupDlg&>(d);
        setup.m_comboPaper->setCurrentIndex(setup.m_comboPaper->findText("A5"));
        return int(QDialog::Rejected);
    };
    ASSERT_TRUE(Frame().RouteCommand(cmd::kPrintSetup));
    EXPECT_EQ(app->Printer().pageLayout().pageSize().id(), QPageSize::Letter);
}

TEST_F(Printing, PrintSetupOffersEveryInstalledPrinter) {
    ASSERT_TRUE(StartPrinting());
    app->Printer().setPageSize(QPageSize(QPageSize::Legal));
    CPrintSetupDlg setup(app->Printer(), {"Office", "Lab"}, nullptr);
    ASSERT_EQ(setup.m_comboPrinter->count(), 3);
    EXPECT_EQ(setup.m_comboPrinter->currentText(), "Print to File (PDF)"); // as it prints now
    EXPECT_EQ(setup.m_comboPaper->currentText(), QPageSize(QPageSize::Legal).name());
    EXPECT_TRUE(setup.m_radioPortrait->isChecked());
    setup.m_comboPrinter->setCurrentIndex(1);
    const PrintSetupChoice choice = setup.Choice();
    EXPECT_EQ(choice.printer, "Lab");
    EXPECT_EQ(choice.paper, QPageSize::Legal); // kept: the printer takes it too
    EXPECT_EQ(choice.orientation, QPageLayout::Portrait);
    setup.m_comboPrinter->setCurrentIndex(2);
    EXPECT_EQ(setup.Choice().printer, ""); // a PDF file
}

TEST_F(Printing, PrintingDirectlyNeedsNoDialogButAPrinter) {
    ASSERT_TRUE(StartPrinting());
    SetLines(56);
    AcceptPrintDialog(2);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFilePrintDirect));
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(PdfPages().size(), 2u);
    // A PDF printer without a file is no printer at all.
    app->Printer().setOutputFileName("");
    EXPECT_FALSE(PrinterAvailable(app->Printer()));
    EXPECT_FALSE(ActiveListing()->OnFilePrint(true));
    EXPECT_EQ(ui.OnlyMessage(),
              "No printer is installed!\nThe report of " + Sample() + " was not printed.");
}

// "lumetra --print FILE": the report to the application's printer, no window, and the end.
struct PrintSwitch : Printing {
    bool StartWithPrint(const std::string& printTo) {
        app = std::make_unique<CLumetraApp>(ui, settings);
        app->runDialog = [this](QDialog& d) { return dialogAnswer(d); };
        pdf = dir.Path("report.pdf");
        app->Printer().setOutputFormat(QPrinter::PdfFormat);
        app->Printer().setOutputFileName(QString::fromStdString(printTo));
        const bool run =
            app->InitInstance({"lumetra", "--print", QString::fromStdString(Sample())});
        Settle();
        return run;
    }
};

TEST_F(PrintSwitch, PrintsTheWholeReportWithoutADialogAndEnds) {
    AcceptPrintDialog(1);
    EXPECT_FALSE(StartWithPrint(dir.Path("report.pdf")));
    EXPECT_EQ(app->m_nExitCode, 0);
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_TRUE(ui.messages.empty());
    const std::vector<std::string> pages = PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(Words(Lines(pages[0])[1]), "Data Title: Test");
}

TEST_F(PrintSwitch, WithoutAPrinterItSaysSoAndEndsWithAFailure) {
    EXPECT_FALSE(StartWithPrint(""));
    EXPECT_EQ(app->m_nExitCode, 1);
    EXPECT_EQ(ui.OnlyMessage(),
              "No printer is installed!\nThe report of " + Sample() + " was not printed.");
}

TEST_F(PrintSwitch, AFileThatCannotBeOpenedEndsWithAFailure) {
    app = std::make_unique<CLumetraApp>(ui, settings);
    EXPECT_FALSE(
        app->InitInstance({"lumetra", "--print", QString::fromStdString(dir.Path("x.dat"))}));
    EXPECT_EQ(app->m_nExitCode, 1);
    EXPECT_EQ(ui.OnlyMessage(), dir.Path("x.dat") + " was not found.");
}

} // namespace
} // namespace lumetra
