#include "plot/PlotExport.h"

#include "data/LumetraDoc.h"
#include "platform/Ui.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotFile.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cmath>

namespace lumetra {
namespace {

// A PDF keeps its lines and text as drawn; this is only the grid they are placed on.
constexpr int kPdfDpi = 1200;

// Draws onto a painter that has begun on a picture of that size; false when it could not
// finish.
// ExportPlot has refused a plot that cannot be drawn before any file was opened.
bool DrawPicture(QPainter& painter, QSize size, int dpi, const CLumetraDoc& doc, bool fullSize,
                 const PlotOptions& options) {
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white); // the window's background
    {
        PainterSurface surface(painter, dpi, dpi);
        if (PaintPlot(doc, surface, fullSize, options))
            return false;
    }
    return painter.end();
}

QSize PictureSize(bool fullSize, int dpi) {
    const PlotPictureSize size = PlotPictureSizeAt(fullSize, dpi);
    return {size.width, size.height};
}

// The picture a PNG holds; a null image when it could not be drawn.
QImage DrawImage(const CLumetraDoc& doc, bool fullSize, const PlotOptions& options) {
    const QSize size = PictureSize(fullSize, kPlotPictureDpi);
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(kPlotPictureDpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter;
    if (!painter.begin(&image) ||
        !DrawPicture(painter, size, kPlotPictureDpi, doc, fullSize, options))
        return {};
    return image;
}

bool WritePng(QIODevice& file, const CLumetraDoc& doc, bool fullSize, const PlotOptions& options) {
    const QImage image = DrawImage(doc, fullSize, options);
    return !image.isNull() && image.save(&file, "PNG");
}

bool WriteSvg(QIODevice& file, const CLumetraDoc& doc, bool fullSize, const PlotOptions& options) {
    const QSize size = PictureSize(fullSize, kPlotPictureDpi);
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kPlotPictureDpi);
    svg.setTitle(QString::fromStdString(doc.m_strDataTitle));
    QPainter painter;
    return painter.begin(&svg) &&
           DrawPicture(painter, size, kPlotPictureDpi, doc, fullSize, options);
}

bool WritePdf(QIODevice& file, const CLumetraDoc& doc, bool fullSize, const PlotOptions& options) {
    const PlotPictureSize inches1000 = PlotPictureSizeAt(fullSize, 1000);
    QPdfWriter pdf(&file);
    pdf.setResolution(kPdfDpi);
    pdf.setPageSize(QPageSize(QSizeF(inches1000.width / 1000.0, inches1000.height / 1000.0),
                              QPageSize::Inch, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QString::fromStdString(doc.m_strDataTitle));
    QPainter painter;
    return painter.begin(&pdf) &&
           DrawPicture(painter, PictureSize(fullSize, kPdfDpi), kPdfDpi, doc, fullSize, options);
}

} // namespace

std::optional<std::string> PaintPlotInto(QPainter& painter, QRect area, const CLumetraDoc& doc,
                                         const PlotOptions& options) {
    const PlotPlacement place = PlaceWholePlot(area.width(), area.height());
    PainterSurface surface(painter, place.dpi, place.dpi,
                           {-area.left() - place.left, -area.top() - place.top});
    std::optional<std::string> refusal = PaintPlot(doc, surface, true, options);
    if (refusal)
        PaintPlotRefusal(surface, true, *refusal);
    return refusal;
}

std::optional<PlotPictures> DrawPlotPictures(const CLumetraDoc& doc, bool fullSize, Ui& ui,
                                             const PlotOptions& options) {
    if (const std::optional<std::string> refusal = PlotExportRefusal(doc, options)) {
        ui.MessageBox(*refusal);
        return std::nullopt;
    }
    PlotPictures pictures;
    pictures.image = DrawImage(doc, fullSize, options);
    QBuffer svg(&pictures.svg);
    if (pictures.image.isNull() || !svg.open(QIODevice::WriteOnly) ||
        !WriteSvg(svg, doc, fullSize, options))
        return std::nullopt;
    return pictures;
}

bool ExportPlot(const CLumetraDoc& doc, bool fullSize, const std::string& path, Ui& ui,
                const PlotOptions& options) {
    const std::optional<PlotFileFormat> format = PlotFileFormatFor(path);
    if (!format) {
        ui.MessageBox(PlotSuffixMessage(path));
        return false;
    }
    if (const std::optional<std::string> refusal = PlotExportRefusal(doc, options)) {
        ui.MessageBox(*refusal);
        return false;
    }
    QSaveFile file(QString::fromStdString(path));
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        switch (*format) {
        case PlotFileFormat::Png:
            written = WritePng(file, doc, fullSize, options);
            break;
        case PlotFileFormat::Svg:
            written = WriteSvg(file, doc, fullSize, options);
            break;
        case PlotFileFormat::Pdf:
            written = WritePdf(file, doc, fullSize, options);
            break;
        }
    }
    // commit() renames the finished file into place; without it the temporary one goes.
    if (!written || !file.commit()) {
        file.cancelWriting();
        ui.MessageBox(PlotWriteMessage(path));
        return false;
    }
    return true;
}

} // namespace lumetra
