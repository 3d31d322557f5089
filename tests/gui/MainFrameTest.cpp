#include "app/MainFrame.h"
#include "data/LumetraDoc.h"
#include "platform/MemorySettingsStore.h"
#include "support/RecordingUi.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(MainFrame, OpensTheSampleNamedOnTheCommandLine) {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CMainFrame frame(ui, settings);
    EXPECT_EQ(frame.windowTitle(), "Lumetra");
    EXPECT_EQ(frame.StatusPane(0)->text(), "Ready");
    ASSERT_TRUE(frame.OpenDataFile(LUMETRA_SOURCE_DIR "/samples/example.dat"));
    ASSERT_NE(frame.Document(), nullptr);
    EXPECT_EQ(frame.Document()->m_pPairs.size(), 2u);
    EXPECT_TRUE(frame.ShownText().contains("Data title:  Test\n"));
    EXPECT_TRUE(frame.ShownText().contains("C[1] = 2.00000"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(MainFrame, ARefusedFileShowsTheMessageAndKeepsTheWindow) {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CMainFrame frame(ui, settings);
    EXPECT_FALSE(frame.OpenDataFile("/nonexistent/x.dat"));
    EXPECT_EQ(frame.Document(), nullptr);
    EXPECT_EQ(ui.OnlyMessage(), "/nonexistent/x.dat was not found.");
    EXPECT_EQ(frame.ShownText(), "");
}

} // namespace
} // namespace lumetra
