#include "app/WindowLayout.h"

#include "data/NumberFormat.h"
#include "data/NumberScan.h"
#include "platform/SettingsStore.h"

#include <algorithm>

namespace lumetra {
namespace {

int IntAt(std::string_view text, size_t pos) {
    return pos < text.size() ? TextToInt(text.substr(pos)) : 0;
}

bool IsOne(const SettingsStore& settings, const char* entry, const char* fallback) {
    return settings.GetString(kWindowSection, entry, fallback) == "1";
}

} // namespace

WindowRect ReadCoordinates(std::string_view text) {
    return {IntAt(text, 0), IntAt(text, 5), IntAt(text, 10), IntAt(text, 15)};
}

std::string FormatCoordinates(const WindowRect& r) {
    return FormatC("%04d %04d %04d %04d", {r.left, r.top, r.right, r.bottom});
}

WindowRect ClampToScreen(WindowRect r, int W, int H) {
    const int h = r.bottom - r.top;
    const int w = r.right - r.left;
    if (r.bottom > H) {
        r.bottom = H;
        r.top = H - h;
        if (r.top < 0)
            r.top = 0;
    }
    if (r.right > W) {
        r.right = W;
        r.left = W - w;
        if (r.left < 0)
            r.left = 0;
    }
    if (r.top < 0) {
        r.top = 0;
        r.bottom = h > H ? H : h;
    }
    if (r.left < 0) {
        r.left = 0;
        r.right = w > W ? W : w;
    }
    return r;
}

RestoredLayout ReadWindowLayout(const SettingsStore& settings, int screenW, int screenH) {
    RestoredLayout layout;
    const std::string coordinates = settings.GetString(kWindowSection, "Coordinates", "");
    if (!coordinates.empty())
        layout.normal = ClampToScreen(ReadCoordinates(coordinates), screenW, screenH);
    const bool iconized = IsOne(settings, "Iconized", "0");
    const bool maximized = IsOne(settings, "Maximized", "0");
    layout.showState = iconized ? kShowMinNoActive : maximized ? kShowMaximized : kShowNormal;
    layout.restoreToMaximized = maximized;
    layout.toolBar = IsOne(settings, "ToolBar", "1");
    layout.statusLine = IsOne(settings, "StatusLine", "1");
    return layout;
}

void WriteWindowLayout(SettingsStore& settings, const ClosingLayout& layout) {
    int iconized = 0, maximized = 0;
    if (layout.showState == kShowMaximized) {
        maximized = 1;
    } else if (layout.showState == kShowMinimized) {
        iconized = 1;
        maximized = layout.restoreToMaximized ? 1 : 0;
    }
    settings.SetString(kWindowSection, "Coordinates", FormatCoordinates(layout.normal));
    settings.SetString(kWindowSection, "Iconized", FormatC("%d", {iconized}));
    settings.SetString(kWindowSection, "Maximized", FormatC("%d", {maximized}));
    if (layout.hasToolBar)
        settings.SetString(kWindowSection, "ToolBar",
                           FormatC("%d", {layout.toolBarVisible ? 1 : 0}));
    if (layout.hasStatusLine)
        settings.SetString(kWindowSection, "StatusLine",
                           FormatC("%d", {layout.statusLineVisible ? 1 : 0}));
}

std::string FrameTitle(std::string_view activeDocument) {
    std::string title = "Lumetra";
    if (!activeDocument.empty())
        title.append(" - ").append(activeDocument);
    return title;
}

WindowRect PlaceInWorkspace(WindowRect r, WindowSize workspace, WindowSize minimum) {
    const int w = std::max(minimum.width, std::min(r.right - r.left, workspace.width));
    const int h = std::max(minimum.height, std::min(r.bottom - r.top, workspace.height));
    const int left = std::max(0, std::min(r.left, workspace.width - w));
    const int top = std::max(0, std::min(r.top, workspace.height - h));
    return {left, top, left + w, top + h};
}

namespace {

// How many places a window of this size has on the diagonal of steps, counting the corner.
int DiagonalSlots(WindowSize workspace, WindowSize size, int step) {
    if (step <= 0)
        return 1;
    const int across = (workspace.width - size.width) / step;
    const int down = (workspace.height - size.height) / step;
    return std::max(1, std::min(across, down) + 1);
}

WindowRect AtSlot(int slot, WindowSize size, int step) {
    const int offset = slot * std::max(0, step);
    return {offset, offset, offset + size.width, offset + size.height};
}

WindowSize Bounded(WindowSize size, WindowSize workspace, WindowSize minimum) {
    return {std::max(minimum.width, std::min(size.width, workspace.width)),
            std::max(minimum.height, std::min(size.height, workspace.height))};
}

} // namespace

WindowRect NewWindowRect(int open, WindowSize workspace, int step, WindowSize minimum) {
    const WindowSize size =
        Bounded({workspace.width * 4 / 5, workspace.height * 4 / 5}, workspace, minimum);
    const int slot = std::max(0, open) % DiagonalSlots(workspace, size, step);
    return PlaceInWorkspace(AtSlot(slot, size, step), workspace, minimum);
}

std::vector<WindowRect> CascadeRects(int count, WindowSize workspace, int step,
                                     WindowSize minimum) {
    std::vector<WindowRect> rects;
    if (count <= 0)
        return rects;
    const int shift = (count - 1) * std::max(0, step);
    const WindowSize usable{workspace.width * 3 / 5, workspace.height * 3 / 5};
    const WindowSize size = Bounded({std::max(usable.width, workspace.width - shift),
                                     std::max(usable.height, workspace.height - shift)},
                                    workspace, minimum);
    const int slots = DiagonalSlots(workspace, size, step);
    for (int i = 0; i < count; ++i)
        rects.push_back(PlaceInWorkspace(AtSlot(i % slots, size, step), workspace, minimum));
    return rects;
}

std::vector<WindowRect> IconRects(const std::vector<WindowSize>& icons, WindowSize workspace) {
    std::vector<WindowRect> rects;
    int x = 0, bottom = workspace.height, rowHeight = 0;
    for (const WindowSize& icon : icons) {
        if (x > 0 && x + icon.width > workspace.width) {
            bottom -= rowHeight;
            x = 0;
            rowHeight = 0;
        }
        rects.push_back({x, bottom - icon.height, x + icon.width, bottom});
        x += icon.width;
        rowHeight = std::max(rowHeight, icon.height);
    }
    return rects;
}

} // namespace lumetra
