#pragma once

#include "plot/PixelSurface.h"

class QPainter;

namespace lumetra {

// The plot drawn with a QPainter: on the plot window, into an image or onto a PDF page.
class PainterSurface : public PixelSurface {
public:
    PainterSurface(QPainter& painter, double dpiX, double dpiY, QPoint scroll = {});
    ~PainterSurface() override;

private:
    void ApplyPen(Rgb color, double width) override;
    void ApplyFont(const QFont& font) override;
    void DrawLines(const QLine* lines, int count) override;
    void DrawText(QPointF at, const QString& text, Rgb color) override;

    QPainter& m_painter;
};

} // namespace lumetra
