#pragma once

#include "platform/Surface.h"

#include <string>
#include <vector>

namespace lumetra::test {

// Records the drawing operations, with the pen and text colour in effect at each.
class RecordingSurface : public Surface {
public:
    struct Op {
        enum Kind { Move, Line, Text } kind;
        int x, y;
        std::string text;
        Pen pen;
        Rgb color;
    };
    std::vector<Op> ops;
    FontMetrics metrics{170, 90};
    int fontHeight = 0;
    int originX = 0, originY = 0;
    Pen pen;
    Rgb color;

    void SetWindowOrigin(int x, int y) override {
        originX = x;
        originY = y;
    }
    void SelectPen(const Pen& p) override { pen = p; }
    FontMetrics SelectFont(int height) override {
        fontHeight = height;
        return metrics;
    }
    Rgb SetTextColor(Rgb c) override {
        Rgb old = color;
        color = c;
        return old;
    }
    void MoveTo(int x, int y) override { ops.push_back({Op::Move, x, y, "", pen, color}); }
    void LineTo(int x, int y) override { ops.push_back({Op::Line, x, y, "", pen, color}); }
    void TextOut(int x, int y, std::string_view t) override {
        ops.push_back({Op::Text, x, y, std::string(t), pen, color});
    }

    std::vector<Op> Texts() const {
        std::vector<Op> out;
        for (const Op& o : ops)
            if (o.kind == Op::Text)
                out.push_back(o);
        return out;
    }
    std::vector<Op> WithPen(const Pen& p) const {
        std::vector<Op> out;
        for (const Op& o : ops)
            if (o.kind != Op::Text && o.pen == p)
                out.push_back(o);
        return out;
    }
};

} // namespace lumetra::test
