#include "plot/PlotExport.h"

#include "data/LumetraDoc.h"
#include "data/SafeWrite.h"
#include "platform/Ui.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotFile.h"
#include "plot/SvgSurface.h"

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>
#include <cmath>
#include <new>

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
    if (image.isNull())
        return image;
    const int dotsPerMeter = int(std::lround(kPlotPictureDpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter;
    if (!painter.begin(&image) ||
        !DrawPicture(painter, size, kPlotPictureDpi, doc, fullSize, options))
        return {};
    return image;
}

// 0, or why the picture could not be written.
int WritePng(QIODevice& file, const CLumetraDoc& doc, bool fullSize, const PlotOptions& options) {
    const QImage image = DrawImage(doc, fullSize, options);
    if (image.isNull())
        return ENOMEM; // its pixels could not be had
    return image.save(&file, "PNG") ? 0 : EIO;
}

bool WriteSvg(const SvgSurface::Sink& sink, const CLumetraDoc& doc, bool fullSize,
              const PlotOptions& options) {
    const QSize size = PictureSize(fullSize, kPlotPictureDpi);
    SvgSurface surface(sink, size.width(), size.height(), kPlotPictureDpi, doc.m_strDataTitle);
    return !PaintPlot(doc, surface, fullSize, options) && surface.Finish();
}

int WritePdf(QIODevice& file, const CLumetraDoc& doc, bool fullSize, const PlotOptions& options) {
    const PlotPictureSize inches1000 = PlotPictureSizeAt(fullSize, 1000);
    QPdfWriter pdf(&file);
    pdf.setResolution(kPdfDpi);
    pdf.setPageSize(QPageSize(QSizeF(inches1000.width / 1000.0, inches1000.height / 1000.0),
                              QPageSize::Inch, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QString::fromStdString(doc.m_strDataTitle));
    QPainter painter;
    return painter.begin(&pdf) && DrawPicture(painter, PictureSize(fullSize, kPdfDpi), kPdfDpi, doc,
                                              fullSize, options)
               ? 0
               : EIO;
}

// The picture streamed to fd: 0, or the errno of the failure.
int WritePicture(int fd, PlotFileFormat format, const CLumetraDoc& doc, bool fullSize,
                 const PlotOptions& options) {
    try {
        if (format == PlotFileFormat::Svg) {
            int err = 0;
            const bool written = WriteSvg(
                [&](std::string_view piece) {
                    if (WriteAll(fd, piece.data(), piece.size()))
                        return true;
                    err = errno;
                    return false;
                },
                doc, fullSize, options);
            return written ? 0 : err ? err : EIO;
        }
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            return EBADF;
        errno = 0;
        int err = format == PlotFileFormat::Png ? WritePng(file, doc, fullSize, options)
                                                : WritePdf(file, doc, fullSize, options);
        if (!err && !file.flush())
            err = EIO;
        // A failed write of the file leaves its cause.
        return err == EIO && file.error() != QFileDevice::NoError && errno ? errno : err;
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
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
    const bool drawn = !pictures.image.isNull() &&
                       WriteSvg(
                           [&](std::string_view piece) {
                               pictures.svg.append(piece.data(), qsizetype(piece.size()));
                               return true;
                           },
                           doc, fullSize, options);
    if (!drawn)
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
    const SaveResult result =
        SaveFile(path, [&](int fd) { return WritePicture(fd, *format, doc, fullSize, options); });
    if (!result.Saved())
        ui.MessageBox(SaveFailureMessage(path, result, PlotWriteFailure(path)));
    return result.Saved();
}

} // namespace lumetra
