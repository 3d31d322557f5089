// The described drawing, operation by operation, as the program drew it before the plot's
// additions (tests/support/PlotGoldenCases.h).
#include "plot/PlotDrawing.h"

#include "platform/MemorySettingsStore.h"
#include "support/PlotGoldenCases.h"
#include "support/RecordingSurface.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace lumetra {
namespace {

std::string Recorded(const test::RecordingSurface& s) {
    std::ostringstream out;
    out << "origin " << s.originX << " " << s.originY << " font " << s.fontHeight << "\n";
    for (const test::RecordingSurface::Op& o : s.ops) {
        out << "MLT"[o.kind] << " " << o.x << " " << o.y;
        if (o.kind == test::RecordingSurface::Op::Text)
            out << " " << o.color.r << "," << o.color.g << "," << o.color.b << " " << o.text;
        else
            out << " " << o.pen.width << ":" << o.pen.color.r << "," << o.pen.color.g << ","
                << o.pen.color.b;
        out << "\n";
    }
    return out.str();
}

// FNV-1a of the text and its line count.
std::string Hashed(const std::string& text) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text)
        h = (h ^ c) * 1099511628211ull;
    std::ostringstream out;
    out << std::hex << h << std::dec << " " << std::count(text.begin(), text.end(), '\n') << "\n";
    return out.str();
}

TEST(PlotGolden, TheDescribedDrawingIsUnchanged) {
    for (const test::PlotGoldenCase& c : test::PlotGoldenCases()) {
        SCOPED_TRACE(c.name);
        test::RecordingUi ui;
        MemorySettingsStore settings;
        CLumetraDoc doc(ui, settings);
        c.fill(doc);
        test::RecordingSurface s;
        ASSERT_EQ(PaintPlot(doc, s, c.fullSize), std::nullopt);
        const std::string path =
            test::PlotGoldenPath(std::string(c.name) + (c.hashed ? ".ops-hash" : ".ops"));
        const std::string drawn = c.hashed ? Hashed(Recorded(s)) : Recorded(s);
        if (test::WritingPlotGolden())
            std::ofstream(path, std::ios::binary) << drawn;
        EXPECT_TRUE(drawn == test::ReadGoldenFile(path)) << path;
    }
}

} // namespace
} // namespace lumetra
