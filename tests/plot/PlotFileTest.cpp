#include "plot/PlotFile.h"

#include "data/LumetraDoc.h"
#include "platform/MemorySettingsStore.h"
#include "plot/PlotDrawing.h"
#include "support/ExampleFile.h"
#include "support/RecordingSurface.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(PlotFile, TheSuffixNamesTheFormatInAnyCase) {
    EXPECT_EQ(PlotFileFormatFor("/tmp/plot.png"), PlotFileFormat::Png);
    EXPECT_EQ(PlotFileFormatFor("plot.SVG"), PlotFileFormat::Svg);
    EXPECT_EQ(PlotFileFormatFor("a/b.c/plot.Pdf"), PlotFileFormat::Pdf);
    EXPECT_EQ(PlotFileFormatFor("plot.jpg"), std::nullopt);
    EXPECT_EQ(PlotFileFormatFor("plot"), std::nullopt);
    EXPECT_EQ(PlotFileFormatFor("plot.png.txt"), std::nullopt);
    EXPECT_EQ(PlotFileFormatFor("plotpng"), std::nullopt);
    // A suffix alone is no file name.
    EXPECT_EQ(PlotFileFormatFor(".png"), std::nullopt);
    EXPECT_EQ(PlotFileFormatFor("dir/.svg"), std::nullopt);
    EXPECT_EQ(PlotFileFormatFor(""), std::nullopt);
}

TEST(PlotFile, PicturesCoverTheWholeDrawingAtEitherZoom) {
    EXPECT_EQ(PlotPictureSizeAt(true, 96).width, 1104); // 11.5 in
    EXPECT_EQ(PlotPictureSizeAt(true, 96).height, 720); // 7.5 in
    EXPECT_EQ(PlotPictureSizeAt(false, 96).width, 552);
    EXPECT_EQ(PlotPictureSizeAt(false, 96).height, 360);
    EXPECT_EQ(PlotPictureSizeAt(true, 1000).width, 11500);
}

TEST(PlotFile, MessagesNameTheFile) {
    EXPECT_EQ(PlotSuffixMessage("a.jpg"),
              "Cannot export the plot to a.jpg!\nThe file name must end in .png, .svg or .pdf.");
    EXPECT_EQ(PlotWriteFailure("/x/a.png"), "Cannot write the plot to /x/a.png!");
}

TEST(PlotFile, RefusalsFollowThePlotWindowsRules) {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    doc.OnNewDocument();
    EXPECT_EQ(PlotExportRefusal(doc), "No data pairs to plot!");
    test::FillExample(doc);
    doc.ResetExtremes(doc.m_pPairs[0]);
    doc.UpdateExtremes(doc.m_pPairs[1]);
    EXPECT_EQ(PlotExportRefusal(doc), std::nullopt);
    doc.m_dMaxY = doc.m_dMinY;
    EXPECT_EQ(PlotExportRefusal(doc),
              "Maximum value for Y equals Minimum!\nCan't plot if no range in Y!");
    doc.m_dMaxX = doc.m_dMinX;
    const std::string noX = "Maximum value for X equals Minimum!\nCan't plot if no range in X!";
    EXPECT_EQ(PlotRangeMessage(doc), noX);
    // The window shows the same text and draws nothing.
    test::RecordingSurface surface;
    EXPECT_EQ(PaintPlot(doc, surface, true), noX);
    EXPECT_TRUE(ui.messages.empty()); // the caller shows it
    EXPECT_TRUE(surface.ops.empty());
}

} // namespace
} // namespace lumetra
