#pragma once

#include <string>
#include <string_view>

namespace lumetra {

class SettingsStore;

// The main window's layout from one run to the next, in the settings section
// "Last Window Data". The rules are plain arithmetic on screen pixels, so they are tested here
// with any screen size; the frame only reads and applies the result.

inline constexpr const char* kWindowSection = "Last Window Data";

struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const WindowRect&) const = default;
};

// Where a first run puts the main window.
inline constexpr WindowRect kDefaultWindowRect{19, 72, 676, 449};

// Show states as the layout stores and restores them.
enum ShowState : int {
    kShowNormal = 1,
    kShowMinimized = 2,
    kShowMaximized = 3,
    kShowMinNoActive = 7, // minimized without taking the focus
};

// The four integers at character positions 0, 5, 10 and 15 of a "Coordinates" text, each read
// as atoi reads; a position past the end of a short text reads 0.
WindowRect ReadCoordinates(std::string_view text);
// "%04d %04d %04d %04d".
std::string FormatCoordinates(const WindowRect& r);

// Moves a rectangle onto a screen of w × h pixels and shrinks it where it does not fit: bottom
// edge, right edge, top edge, left edge, in this order.
WindowRect ClampToScreen(WindowRect r, int screenW, int screenH);

// What the start of a run applies to the main window.
struct RestoredLayout {
    WindowRect normal = kDefaultWindowRect;
    int showState = kShowNormal;
    bool restoreToMaximized = false; // a minimized window comes back maximized
    bool toolBar = true;
    bool statusLine = true;
};
RestoredLayout ReadWindowLayout(const SettingsStore& settings, int screenW, int screenH);

// The main window as it is when asked to close.
struct ClosingLayout {
    WindowRect normal;
    int showState = kShowNormal;
    bool restoreToMaximized = false; // the placement's flags: a minimized window was maximized
    bool hasToolBar = true;
    bool toolBarVisible = true;
    bool hasStatusLine = true;
    bool statusLineVisible = true;
};
// Writes "Coordinates", "Iconized", "Maximized", then "ToolBar" and "StatusLine" for the bars
// that exist, in this order.
void WriteWindowLayout(SettingsStore& settings, const ClosingLayout& layout);

} // namespace lumetra
