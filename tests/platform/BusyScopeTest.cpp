// Long operations under their scope guard: whatever ends them, an exception from a command run by
// one of their progress steps included, no busy flag stays up, the wait cursor goes down as often
// as it went up, and nothing is shown on the way out.
#include "platform/BusyScope.h"

#include "data/LumetraDoc.h"
#include "dataentry/ImportFile.h"
#include "platform/MemorySettingsStore.h"
#include "report/ReportBuilder.h"
#include "support/ExampleFile.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace lumetra {
namespace {

struct CommandFailed : std::runtime_error {
    CommandFailed() : std::runtime_error("a command failed") {}
};

struct ProgressBar : ImportListener {
    bool shown = false;
    void OnPairImported(const CXYdata&) override {}
    void OnProgressShown(bool show) override { shown = show; }
    void OnProgress(int) override {}
};

struct Operation : ::testing::Test {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    test::TempDir dir;
    CLumetraDoc doc{ui, settings};
    ReportBuilder builder{doc, 32000};
    ProgressBar progress;
};

TEST_F(Operation, AnExceptionFromAProgressStepLeavesNothingBusyAndShowsNothing) {
    struct Case {
        const char* name;
        std::function<void(Operation&)> run;
        std::function<bool(const Operation&)> busy;
    };
    const Case cases[] = {
        {"read",
         [](Operation& t) {
             t.doc.OnOpenDocument(test::WriteLineFile(t.ui, t.settings, t.dir.Path("a.dat"), 500));
         },
         [](const Operation& t) { return t.doc.m_bReading != 0; }},
        {"report build",
         [](Operation& t) {
             test::FillExample(t.doc);
             t.builder.BuildReport();
         },
         [](const Operation& t) {
             return t.doc.m_bBuildingReport != 0 || t.builder.m_bBuilding != 0;
         }},
        {"import",
         [](Operation& t) {
             std::string text = "X Y\n";
             for (int k = 0; k < 5000; ++k)
                 text += "1 2\n";
             ImportFile(t.doc, t.ui, t.dir.Write("pairs.txt", text), &t.progress);
         },
         [](const Operation& t) { return t.progress.shown; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.onPump = [] { throw CommandFailed(); };
        EXPECT_THROW(c.run(*this), CommandFailed);
        ui.onPump = nullptr;
        EXPECT_FALSE(c.busy(*this));
        EXPECT_GT(ui.waitBegins, 0);
        EXPECT_EQ(ui.waitEnds, ui.waitBegins);
        EXPECT_EQ(ui.waitDepth, 0);
        EXPECT_TRUE(ui.messages.empty());
    }
    // Nothing keeps the document from closing: no read or build is said to run.
    EXPECT_TRUE(doc.SaveModified());
}

TEST(BusyScope, EndsOnceWhetherEndedEarlyOrByTheScope) {
    test::RecordingUi ui;
    int flag = 0;
    {
        BusyScope busy(ui, &flag);
        EXPECT_EQ(flag, 1);
        EXPECT_EQ(ui.waitDepth, 1);
        busy.End();
        EXPECT_EQ(flag, 0);
        EXPECT_EQ(ui.waitDepth, 0);
        flag = 7; // someone else's now
    }
    EXPECT_EQ(flag, 7);
    EXPECT_EQ(ui.waitEnds, 1);
    {
        const BusyScope flagOnly(flag);
        EXPECT_EQ(flag, 1);
    }
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(ui.waitBegins, 1);
}

} // namespace
} // namespace lumetra
