#include "app/WindowLayout.h"

#include "data/NumberFormat.h"
#include "data/NumberScan.h"
#include "platform/SettingsStore.h"

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

} // namespace lumetra
