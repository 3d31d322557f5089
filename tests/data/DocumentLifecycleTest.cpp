#include "data/LumetraDoc.h"
#include "support/DocTest.h"
#include "support/ExampleFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumetra {
namespace {

struct Lifecycle : test::DocTest {
    test::TempDir dir;

    void SetUp() override {
        test::FillExample(doc);
        doc.SetTitle("Lumi1");
    }
};

TEST_F(Lifecycle, PromptForDataFileAsksWithTheStartUpChoice) {
    settings.SetString("Preferences", "LastPath", "/home/ada");
    doc.OnNewDocument();
    ui.fileChoices.push_back({true, "/data/run/x.dat"});
    EXPECT_EQ(doc.PromptForDataFile(), "/data/run/x.dat");
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const Ui::FileRequest& r = ui.fileRequests[0];
    EXPECT_FALSE(r.saving);
    EXPECT_EQ(r.title, "New Data to start new fit or Select a data file and Open Existing");
    EXPECT_EQ(r.okLabel, "Open Existing");
    EXPECT_EQ(r.cancelLabel, "New Data");
    EXPECT_EQ(r.initialDir, "/home/ada");
    EXPECT_EQ(r.defaultSuffix, "");
    ASSERT_EQ(r.filters.size(), 2u);
    EXPECT_EQ(r.filters[0].name, "Data Files (*.dat)");
    EXPECT_EQ(r.filters[0].pattern, "*.dat");
    EXPECT_EQ(r.filters[1].name, "All Files (*.*)");
    EXPECT_EQ(doc.m_strLastPath, "/data/run");
    EXPECT_EQ(settings.GetString("Preferences", "LastPath"), "/data/run");

    // "New Data" is the cancel button: new data, nothing remembered.
    EXPECT_EQ(doc.PromptForDataFile(), "");
    EXPECT_EQ(doc.m_strLastPath, "/data/run");
}

TEST_F(Lifecycle, BusyDocumentsRefuseToClose) {
    doc.m_bBuildingReport = 1;
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_TRUE(ui.messages.empty()); // silently
    doc.m_bBuildingReport = 0;
    doc.m_bReading = 1;
    EXPECT_FALSE(doc.SaveModified());
    doc.m_bReading = 0;
    doc.m_bFitting = 1;
    EXPECT_FALSE(doc.SaveModified());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "Reading a data File.  Won't close now!!\nTry again when file has been read!");
    EXPECT_EQ(ui.messages[1].text, "Fitting the data to curve.  Won't close now!!\nTry again "
                                   "when data has been fitted!");
    EXPECT_EQ(ui.messages[1].buttons, Ui::Buttons::Ok);
    EXPECT_EQ(doc.m_bClosing, 0);
}

TEST_F(Lifecycle, AnUnchangedDocumentClosesWithoutAPrompt) {
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_bClosing, 1);
}

TEST_F(Lifecycle, AChangedFileAsksWithItsPathAndSavesOnYes) {
    const std::string path = dir.Path("x.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    doc.m_strDataTitle = "Changed";
    doc.SetModifiedFlag(true);
    ui.answers.push_back(Ui::Answer::Yes);
    EXPECT_TRUE(doc.SaveModified());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "The data \"Changed\" in " + path + " has been modified!\nSave the modifications?");
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNoCancel);
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Question);
    EXPECT_EQ(test::TempDir::Read(path).substr(0, 10), "@Changed\r\n");

    // No: closes, and the file keeps what it had.
    doc.m_strDataTitle = "Again";
    doc.SetModifiedFlag(true);
    ui.answers.push_back(Ui::Answer::No);
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(test::TempDir::Read(path).substr(0, 10), "@Changed\r\n");

    // Cancel (Escape): the document stays open, changed, and not closing; nothing written.
    doc.m_strDataTitle.clear();
    doc.m_bClosing = 0;
    ui.messages.clear();
    ui.answers.push_back(Ui::Answer::Cancel);
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(ui.OnlyMessage(),
              "The data in " + path + " has been modified!\nSave the modifications?");
    EXPECT_EQ(doc.m_bClosing, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(test::TempDir::Read(path).substr(0, 10), "@Changed\r\n");
}

TEST_F(Lifecycle, ANeverSavedDocumentAsksByTitleAndMayBeAborted) {
    doc.SetModifiedFlag(true);
    ui.answers.push_back(Ui::Answer::Yes);
    EXPECT_TRUE(doc.SaveModified()); // "Abort" in the save dialog still closes
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Lumi1: you've added data \"Test\" but haven't saved it!\nSave the data NOW?");
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNoCancel);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const Ui::FileRequest& r = ui.fileRequests[0];
    EXPECT_EQ(r.defaultSuffix, "dat"); // so the file shows in the open dialog's filter
    EXPECT_TRUE(r.saving);
    EXPECT_EQ(r.title, "Save Lumetra Data As");
    EXPECT_EQ(r.cancelLabel, "Abort");
    ASSERT_EQ(r.filters.size(), 2u);
    EXPECT_EQ(r.filters[0].name, "Data Files (*.dat) ");
    EXPECT_EQ(r.filters[1].name, "All Files (*.*) ");
    EXPECT_EQ(doc.m_strFileName, "UnNamed File");

    ui.answers.push_back(Ui::Answer::Yes);
    ui.fileChoices.push_back({true, dir.Path("new.dat")});
    doc.m_bClosing = 0;
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(doc.m_strFileName, dir.Path("new.dat"));
    EXPECT_EQ(test::TempDir::Read(dir.Path("new.dat")), test::ExampleFileBytes());

    // Cancel keeps it open; an untitled data set is named as data alone.
    doc.m_strDataTitle.clear();
    doc.m_strFileName = "UnNamed File";
    doc.SetModifiedFlag(true);
    doc.m_bClosing = 0;
    ui.messages.clear();
    ui.answers.push_back(Ui::Answer::Cancel);
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(ui.OnlyMessage(),
              "new.dat: you've added data but haven't saved it!\nSave the data NOW?");
    EXPECT_EQ(doc.m_bClosing, 0);
    EXPECT_TRUE(doc.IsModified());
}

// A save asks nothing about the display precision and rounds nothing: the document and its file
// keep every digit, also when the close prompt saves.
TEST_F(Lifecycle, ASaveKeepsEveryDigitWithoutAsking) {
    const std::string path = dir.Path("x.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    doc.m_pPairs = {{8.5, 1.0}, {2.0, 1.234567891}, {3.25, 5.0}};
    doc.m_nXDecimals = 0;
    doc.BuildFormats();
    doc.SetModifiedFlag(true);
    ui.answers.push_back(Ui::Answer::Yes);
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(ui.messages.size(), 1u); // the close prompt alone
    EXPECT_FALSE(doc.IsModified());
    CLumetraDoc back(ui, settings);
    ASSERT_TRUE(back.OnOpenDocument(path));
    ASSERT_EQ(back.m_pPairs.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(back.m_pPairs[k].m_dX, doc.m_pPairs[k].m_dX);
        EXPECT_EQ(back.m_pPairs[k].m_dY, doc.m_pPairs[k].m_dY);
    }
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(Lifecycle, AFailedSaveWhileClosingKeepsTheDocumentOpen) {
    doc.SetModifiedFlag(true);
    std::filesystem::create_directory(dir.Path("taken"));
    ui.answers.push_back(Ui::Answer::Yes);
    ui.fileChoices.push_back({true, dir.Path("taken")});
    EXPECT_FALSE(doc.SaveModified());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Access to " + dir.Path("taken") + " was denied.");
    EXPECT_EQ(doc.m_bClosing, 0); // it goes on working
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_strFileName, "UnNamed File");

    // The same for a document with a file that can no longer be written.
    doc.m_strFileName = dir.Path("gone/x.dat");
    ui.messages.clear();
    ui.answers.push_back(Ui::Answer::Yes);
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(ui.messages.back().text, dir.Path("gone/x.dat") + " contains an invalid path.");
    EXPECT_EQ(doc.m_bClosing, 0);
}

TEST_F(Lifecycle, SaveAsksForANameOnlyWhenThereIsNone) {
    doc.SetModifiedFlag(true);
    ui.fileChoices.push_back({true, dir.Path("first.dat")});
    EXPECT_TRUE(doc.DoSave(false));
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].filters[0].name, "Lumetra Files (*.dat)");
    EXPECT_EQ(ui.fileRequests[0].defaultSuffix, "dat");
    EXPECT_EQ(doc.GetPathName(), dir.Path("first.dat"));
    EXPECT_FALSE(doc.IsModified());

    doc.m_strDataTitle = "Second";
    EXPECT_TRUE(doc.DoSave(false)); // saved where it is, no dialog
    EXPECT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(test::TempDir::Read(dir.Path("first.dat")).substr(0, 9), "@Second\r\n");

    EXPECT_FALSE(doc.DoSave(true)); // Save As cancelled
    EXPECT_EQ(ui.fileRequests.size(), 2u);
    ui.fileChoices.push_back({true, dir.Path("other.dat")});
    EXPECT_TRUE(doc.DoSave(true));
    EXPECT_EQ(doc.GetPathName(), dir.Path("other.dat"));
    EXPECT_EQ(doc.m_strFileName, dir.Path("other.dat"));
}

} // namespace
} // namespace lumetra
