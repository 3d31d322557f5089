#include "plot/SvgSurface.h"

#include <charconv>
#include <cmath>

namespace lumetra {
namespace {

constexpr size_t kPiece = 64 * 1024;

std::string Colour(Rgb c) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = "#";
    for (int v : {c.r, c.g, c.b}) {
        text += kHex[(v >> 4) & 15];
        text += kHex[v & 15];
    }
    return text;
}

} // namespace

SvgSurface::SvgSurface(Sink sink, int width, int height, int dpi, const std::string& title)
    : PixelSurface(dpi, dpi), m_sink(std::move(sink)) {
    m_buffer.reserve(kPiece + 4096);
    Put("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg width=\"");
    PutNumber(width * 25.4 / dpi);
    Put("mm\" height=\"");
    PutNumber(height * 25.4 / dpi);
    Put("mm\" viewBox=\"0 0 ");
    PutNumber(width);
    Put(" ");
    PutNumber(height);
    Put("\" xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\">\n<title>");
    PutEscaped(QString::fromStdString(title));
    Put("</title>\n<rect x=\"0\" y=\"0\" width=\"");
    PutNumber(width);
    Put("\" height=\"");
    PutNumber(height);
    Put("\" fill=\"#ffffff\" stroke=\"none\"/>\n");
}

bool SvgSurface::Finish() {
    Flush();
    CloseGroup();
    Put("</svg>\n");
    if (!m_bFailed && !m_buffer.empty())
        m_bFailed = !m_sink(m_buffer);
    m_buffer.clear();
    return !m_bFailed;
}

void SvgSurface::Put(std::string_view text) {
    m_buffer += text;
    if (m_buffer.size() < kPiece)
        return;
    if (!m_bFailed)
        m_bFailed = !m_sink(m_buffer);
    m_buffer.clear();
}

// Whole numbers as such, others to a hundredth; always with ".".
void SvgSurface::PutNumber(double value) {
    char text[32];
    const double rounded = std::round(value * 100.0) / 100.0;
    const auto [end, ec] =
        rounded == std::floor(rounded)
            ? std::to_chars(text, text + sizeof text, (long long)rounded)
            : std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed, 2);
    Put(ec == std::errc() ? std::string_view(text, size_t(end - text)) : "0");
}

// Text as XML takes it: the five special characters escaped, control characters as blanks.
void SvgSurface::PutEscaped(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::string out;
    out.reserve(size_t(utf8.size()));
    for (char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += (unsigned char)c < 0x20 ? ' ' : c;
        }
    }
    Put(out);
}

void SvgSurface::CloseGroup() {
    if (m_bGroupOpen)
        Put("</g>\n");
    m_bGroupOpen = false;
}

void SvgSurface::ApplyPen(Rgb color, double width) {
    CloseGroup();
    Put("<g fill=\"none\" stroke=\"" + Colour(color) + "\" stroke-width=\"");
    PutNumber(width);
    Put("\" stroke-linecap=\"round\">\n");
    m_bGroupOpen = true;
}

void SvgSurface::ApplyFont(const QFont& font) {
    m_nFontPixels = font.pixelSize();
}

void SvgSurface::DrawLines(const QLine* lines, int count) {
    Put("<path d=\"");
    for (int i = 0; i < count; ++i) {
        const QLine& l = lines[i];
        Put("M");
        PutNumber(l.x1());
        Put(" ");
        PutNumber(l.y1());
        Put("L");
        PutNumber(l.x2());
        Put(" ");
        PutNumber(l.y2());
    }
    Put("\"/>\n");
}

void SvgSurface::DrawText(QPointF at, const QString& text, Rgb color) {
    Put("<text x=\"");
    PutNumber(at.x());
    Put("\" y=\"");
    PutNumber(at.y());
    Put("\" fill=\"" + Colour(color) +
        "\" stroke=\"none\" font-family=\"Courier New\" font-size=\"");
    PutNumber(m_nFontPixels);
    Put("\" xml:space=\"preserve\">");
    PutEscaped(text);
    Put("</text>\n");
}

} // namespace lumetra
