#include "framework/ToolbarImages.h"

#include "framework/CommandTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace lumetra {
namespace {

// Flat glyphs with a dark outline; shapes sit on whole pixels so they stay sharp at 16 x 15.
const QColor kInk(0x2b, 0x2f, 0x3a);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kPaperShade(0xd5, 0xda, 0xe2);
const QColor kTextLine(0x9a, 0xa3, 0xb2);
const QColor kFolderBack(0xd9, 0x9a, 0x1e);
const QColor kFolderFront(0xf6, 0xc8, 0x4c);
const QColor kBlue(0x3b, 0x6c, 0xc8);
const QColor kLightBlue(0xb9, 0xd3, 0xf5);
const QColor kGreen(0x2f, 0xa8, 0x46);
const QColor kRed(0xdc, 0x2f, 0x24);
const QColor kMetal(0xb9, 0xbf, 0xc9);
const QColor kDisplay(0xc8, 0xe8, 0xb4);

constexpr int kWidth = 16;
constexpr int kHeight = 15;

// Fills the w x h pixels at x, y and frames them with a one-pixel outline.
void Box(QPainter& p, int x, int y, int w, int h, const QColor& fill) {
    p.fillRect(x, y, w, h, fill);
    p.setPen(kInk);
    p.drawRect(x, y, w - 1, h - 1);
}

void Shape(QPainter& p, const QPolygon& outline, const QColor& fill) {
    p.setPen(kInk);
    p.setBrush(fill);
    p.drawPolygon(outline);
}

// A sheet of paper with its top-right corner folded; text lines when asked.
void Page(QPainter& p, int left, int right, bool withLines) {
    Shape(p, QPolygon({{left, 0}, {right - 3, 0}, {right, 3}, {right, 14}, {left, 14}}), kPaper);
    Shape(p, QPolygon({{right - 3, 0}, {right - 3, 3}, {right, 3}}), kPaperShade);
    if (!withLines)
        return;
    p.setPen(kTextLine);
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(left + 2, y, right - 2, y);
}

// Points with their fitted curve above axes, in the program's own colours: red data, green curve.
// The glyph scales with the box it is given, from toolbar size to the large application icon;
// axes and small markers sit on whole pixels so that they stay sharp.
void PlotGlyph(QPainter& p, const QRect& box) {
    const int axis = std::max(1, int(std::lround(box.width() / 14.0)));
    p.fillRect(box.left(), box.top(), axis, box.height(), kInk);
    p.fillRect(box.left(), box.bottom() - axis + 1, box.width(), axis, kInk);
    const qreal w = box.width() - axis - 1;
    const qreal h = box.height() - axis - 1;
    auto at = [&](qreal u, qreal v) {
        return QPointF(box.left() + axis + u * w, box.bottom() - axis - v * h);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGreen, std::max<qreal>(1.2, w / 11), Qt::SolidLine, Qt::RoundCap));
    QPainterPath curve(at(0.05, 0.18));
    for (qreal u = 0.05; u <= 1.0; u += 0.05)
        curve.lineTo(at(u, 0.12 + 0.12 * u + 0.74 * u * u));
    p.drawPath(curve);
    const qreal r = w / 11;
    constexpr std::array<QPointF, 4> points{{{0.22, 0.06}, {0.45, 0.45}, {0.68, 0.5}, {0.9, 0.95}}};
    for (const QPointF& pt : points) {
        const QPointF c = at(pt.x(), pt.y());
        const QPoint pixel(int(std::lround(c.x())), int(std::lround(c.y())));
        if (r < 1.5) {
            p.fillRect(pixel.x() - 1, pixel.y() - 1, 2, 2, kRed);
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(kRed);
            p.drawEllipse(QPointF(pixel), r, r);
        }
    }
    p.restore();
}

void DrawNew(QPainter& p) {
    Page(p, 3, 12, false);
}

void DrawOpen(QPainter& p) {
    Shape(p, QPolygon({{0, 2}, {5, 2}, {6, 3}, {12, 3}, {12, 13}, {0, 13}}), kFolderBack);
    Shape(p, QPolygon({{3, 6}, {15, 6}, {12, 13}, {0, 13}}), kFolderFront);
}

void DrawSave(QPainter& p) {
    Shape(p, QPolygon({{1, 0}, {13, 0}, {14, 1}, {14, 14}, {1, 14}}), kBlue);
    Box(p, 4, 0, 8, 5, kMetal);
    p.fillRect(9, 1, 2, 3, kInk);
    Box(p, 3, 8, 10, 7, kPaper);
    p.setPen(kTextLine);
    p.drawLine(5, 10, 10, 10);
    p.drawLine(5, 12, 10, 12);
}

// A table of X/Y pairs: a coloured heading row above two columns.
void DrawData(QPainter& p) {
    Box(p, 1, 1, 14, 13, kPaper);
    p.fillRect(2, 2, 12, 3, kLightBlue);
    p.setPen(kInk);
    p.drawLine(2, 4, 13, 4);
    p.drawLine(7, 2, 7, 12);
    p.setPen(kTextLine);
    for (int y = 7; y <= 11; y += 2) {
        p.drawLine(3, y, 5, y);
        p.drawLine(9, y, 12, y);
    }
}

void DrawCompute(QPainter& p) {
    Box(p, 2, 0, 12, 15, kMetal);
    Box(p, 4, 2, 8, 4, kDisplay);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.fillRect(4 + 3 * col, 7 + 2 * row + row, 2, 2, col == 2 && row == 2 ? kRed : kInk);
}

// A window with a title bar holding a plot.
void DrawNewPlotWindow(QPainter& p) {
    Box(p, 0, 0, 16, 15, kPaper);
    p.fillRect(1, 1, 14, 3, kBlue);
    p.setPen(kInk);
    p.drawLine(1, 3, 14, 3);
    PlotGlyph(p, QRect(3, 5, 11, 8));
}

void DrawZoom(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10), QPointF(14, 13.5));
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kLightBlue);
    p.drawEllipse(QPointF(6.5, 6), 5.2, 5.2);
    p.setPen(QPen(kBlue, 1.6));
    p.drawLine(QPointF(4, 6), QPointF(9, 6));
    p.drawLine(QPointF(6.5, 3.5), QPointF(6.5, 8.5));
    p.restore();
}

// A page with an arrow that points to the following (or, mirrored, the preceding) page.
void DrawPageArrow(QPainter& p, bool forward) {
    QPolygon arrow({{6, 6}, {10, 6}, {10, 3}, {15, 8}, {10, 13}, {10, 10}, {6, 10}});
    if (forward) {
        Page(p, 1, 11, true);
    } else {
        Page(p, 4, 14, true);
        for (QPoint& pt : arrow)
            pt.setX(15 - pt.x());
    }
    Shape(p, arrow, kGreen);
}

void DrawNextPage(QPainter& p) {
    DrawPageArrow(p, true);
}

void DrawPrevPage(QPainter& p) {
    DrawPageArrow(p, false);
}

// A page marked with "#": go to a page by its number.
void DrawGoToPage(QPainter& p) {
    Page(p, 2, 13, false);
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(6, 4, 6, 13);
    p.drawLine(10, 4, 10, 13);
    p.drawLine(4, 7, 12, 7);
    p.drawLine(4, 11, 12, 11);
}

void DrawPrint(QPainter& p) {
    Box(p, 4, 0, 8, 6, kPaper);
    Box(p, 0, 5, 16, 6, kMetal);
    p.fillRect(12, 7, 2, 1, kGreen);
    Box(p, 3, 9, 10, 6, kPaper);
    p.setPen(kTextLine);
    p.drawLine(5, 11, 10, 11);
    p.drawLine(5, 13, 9, 13);
}

// A closed book with a question mark on its cover.
// A sheet with a bar chart: the statistics of the fit.
void DrawStatistics(QPainter& p) {
    Box(p, 1, 0, 14, 15, kPaper);
    p.fillRect(3, 9, 2, 4, kBlue);
    p.fillRect(6, 5, 2, 8, kBlue);
    p.fillRect(9, 7, 2, 6, kBlue);
    p.fillRect(12, 3, 1, 10, kGreen);
    p.setPen(kInk);
    p.drawLine(3, 13, 13, 13);
}

void DrawHelpContents(QPainter& p) {
    Box(p, 2, 0, 12, 15, kBlue);
    p.fillRect(12, 1, 1, 13, kPaper);
    p.setPen(kInk);
    p.drawLine(4, 1, 4, 13);
    constexpr std::array<QRect, 6> question{
        {{7, 2, 3, 1}, {6, 3, 2, 2}, {9, 3, 2, 3}, {8, 5, 2, 2}, {8, 7, 2, 2}, {8, 10, 2, 2}}};
    for (const QRect& r : question)
        p.fillRect(r, kFolderFront);
}

struct ToolbarGlyph {
    std::string_view name; // as the command table names a command's image
    void (*draw)(QPainter&);
};

constexpr std::array<ToolbarGlyph, 13> kGlyphs{{
    {"new", DrawNew},
    {"open", DrawOpen},
    {"save", DrawSave},
    {"data", DrawData},
    {"compute", DrawCompute},
    {"plot window", DrawNewPlotWindow},
    {"zoom", DrawZoom},
    {"statistics", DrawStatistics},
    {"next page", DrawNextPage},
    {"previous page", DrawPrevPage},
    {"go to page", DrawGoToPage},
    {"print", DrawPrint},
    {"help", DrawHelpContents},
}};

QPixmap Transparent(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

constexpr std::array<int, 3> kIconSizes{16, 32, 48};

QPixmap IconImage(void (*draw)(QPainter&, int size), int size) {
    QPixmap pixmap = Transparent(size, size);
    QPainter p(&pixmap);
    draw(p, size);
    p.end();
    return pixmap;
}

QIcon IconAtSizes(void (*draw)(QPainter&, int size)) {
    QIcon icon;
    for (int size : kIconSizes)
        icon.addPixmap(IconImage(draw, size));
    return icon;
}

void DrawApplicationIcon(QPainter& p, int size) {
    const qreal s = size / 16.0;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, std::max<qreal>(1.0, s)));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), 2.5 * s, 2.5 * s);
    PlotGlyph(p, QRectF(3 * s, 3 * s, 10 * s, 10 * s).toRect());
}

void DrawDocumentIcon(QPainter& p, int size) {
    const qreal s = size / 16.0;
    const qreal fold = 4 * s;
    const QRectF page(2.5 * s, 0.5, 11 * s, size - 1);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, std::max<qreal>(1.0, s)));
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF({page.topLeft(),
                             {page.right() - fold, page.top()},
                             {page.right(), page.top() + fold},
                             page.bottomRight(),
                             page.bottomLeft()}));
    p.setBrush(kPaperShade);
    p.drawPolygon(QPolygonF({{page.right() - fold, page.top()},
                             {page.right() - fold, page.top() + fold},
                             {page.right(), page.top() + fold}}));
    PlotGlyph(p, QRectF(4.5 * s, 6 * s, 7 * s, 7 * s).toRect());
}

} // namespace

QPixmap ToolbarImage(int commandId) {
    const CommandDef* def = FindCommand(commandId);
    const std::string_view image = def ? def->image : "";
    const auto glyph = std::find_if(kGlyphs.begin(), kGlyphs.end(),
                                    [&](const ToolbarGlyph& g) { return g.name == image; });
    if (glyph == kGlyphs.end())
        return QPixmap();
    QPixmap pixmap = Transparent(kWidth, kHeight);
    QPainter p(&pixmap);
    glyph->draw(p);
    return pixmap;
}

QIcon ApplicationIcon() {
    return IconAtSizes(DrawApplicationIcon);
}

QIcon DocumentIcon() {
    return IconAtSizes(DrawDocumentIcon);
}

QPixmap ApplicationIconImage(int size) {
    return IconImage(DrawApplicationIcon, size);
}

QPixmap DocumentIconImage(int size) {
    return IconImage(DrawDocumentIcon, size);
}

} // namespace lumetra
