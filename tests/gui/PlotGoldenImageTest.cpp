// The described drawing as pixels, as the program rendered it before the plot's additions
// (tests/support/PlotGoldenCases.h).
#include "platform/MemorySettingsStore.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotFile.h"
#include "support/PlotGoldenCases.h"
#include "support/RecordingUi.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(PlotGoldenImage, TheDescribedDrawingIsUnchanged) {
    for (const test::PlotGoldenCase& c : test::PlotGoldenCases()) {
        SCOPED_TRACE(c.name);
        test::RecordingUi ui;
        MemorySettingsStore settings;
        CLumetraDoc doc(ui, settings);
        c.fill(doc);
        const PlotPictureSize size = PlotPictureSizeAt(c.fullSize, kPlotPictureDpi);
        QImage image(size.width, size.height, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PainterSurface surface(painter, kPlotPictureDpi, kPlotPictureDpi);
            ASSERT_EQ(PaintPlot(doc, surface, c.fullSize), std::nullopt);
        }
        const QString path =
            QString::fromStdString(test::PlotGoldenPath(std::string(c.name) + ".png"));
        if (test::WritingPlotGolden()) {
            ASSERT_TRUE(image.save(path));
        }
        const QImage golden = QImage(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(golden.size(), image.size());
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                differing += image.pixel(x, y) != golden.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

} // namespace
} // namespace lumetra
