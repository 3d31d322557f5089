#pragma once

#include "app/LumetraApp.h"
#include "app/MainFrame.h"
#include "framework/DocManager.h"
#include "options/OptionsSheet.h"
#include "platform/MemorySettingsStore.h"
#include "report/ListingView.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDialog>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <memory>

namespace lumetra::test {

// The whole application, offscreen, with the recording Ui: no test waits on a modal box.
struct AppFixture : ::testing::Test {
    RecordingUi ui;
    MemorySettingsStore settings;
    TempDir dir;
    std::unique_ptr<CLumetraApp> app;
    // How the Options sheet is answered; cancelled unless a test works its pages.
    std::function<bool(CMySheet&)> sheetAnswer = [](CMySheet&) { return false; };
    // How the print, preview and page setup dialogs are answered; cancelled unless a test says.
    std::function<int(QDialog&)> dialogAnswer = [](QDialog&) { return int(QDialog::Rejected); };

    void TearDown() override {
        // Nothing may ask any more questions while the windows go.
        for (CLumetraDoc* doc : app ? app->DocManager().Documents() : std::vector<CLumetraDoc*>{})
            doc->SetModifiedFlag(false);
        app.reset();
        Settle();
    }

    bool Start(const QStringList& files = {}, int linesPerPage = 128000) {
        app = std::make_unique<CLumetraApp>(ui, settings);
        app->m_nLinesPerDisplayPage = linesPerPage;
        app->runSheet = [this](CMySheet& sheet) { return sheetAnswer(sheet); };
        app->runDialog = [this](QDialog& dialog) { return dialogAnswer(dialog); };
        const bool ok = app->InitInstance(QStringList{"lumetra"} + files);
        Settle();
        return ok;
    }

    // Lets queued work (the first drawing of new windows, deferred deletes) run.
    static void Settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            // Outside a running event loop deferred deletes wait for one; do them now.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    CMainFrame& Frame() const { return *app->MainFrame(); }
    CLumetraView* ActiveListing() const {
        return dynamic_cast<CLumetraView*>(Frame().ActiveView());
    }
    int WindowCount() const { return int(Frame().MdiArea()->subWindowList().size()); }
    // The text of row `row` of the active listing's list.
    QString Row(int row) const {
        CLumetraView* view = ActiveListing();
        return view->List()->model()->index(row, 0).data().toString();
    }
    bool Enabled(int id) {
        Frame().UpdateCommandUI();
        return Frame().Action(id)->isEnabled();
    }
    std::string Sample() const { return LUMETRA_SOURCE_DIR "/samples/example.dat"; }
};

} // namespace lumetra::test
