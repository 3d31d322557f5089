#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// The main window's title: "Lumetra", then " - " and the active document's title when there is
// one, whether its window is maximized or not.
std::string FrameTitle(std::string_view activeDocument);

// Document windows inside the MDI workspace, in the workspace's pixels with (0, 0) at its
// top-left corner.

struct WindowSize {
    int width = 0, height = 0;
    bool operator==(const WindowSize&) const = default;
};

// The smallest size a document window can be dragged to.
inline constexpr WindowSize kDocumentWindowMinimum{240, 150};

// Moves a window wholly into the workspace, shrinking it to the workspace where it is larger,
// but never below `minimum`: a workspace smaller than that gets the window at its top-left
// corner.
WindowRect PlaceInWorkspace(WindowRect wanted, WindowSize workspace,
                            WindowSize minimum = kDocumentWindowMinimum);

// Where a new document window opens when `open` windows are open already: four fifths of the
// workspace, each new one a step down and right of the last, starting again at the corner when
// the next step would leave the workspace.
WindowRect NewWindowRect(int open, WindowSize workspace, int step,
                         WindowSize minimum = kDocumentWindowMinimum);

// Cascade: `count` windows of one size, each a step down and right of the one before. They keep
// at least three fifths of the workspace; when the steps would push them smaller, the cascade
// starts again at the corner.
std::vector<WindowRect> CascadeRects(int count, WindowSize workspace, int step,
                                     WindowSize minimum = kDocumentWindowMinimum);

// Arrange Icons: the minimized windows' icons, in the given order, left to right along the
// bottom of the workspace, a new row above when the next would pass the right edge.
std::vector<WindowRect> IconRects(const std::vector<WindowSize>& icons, WindowSize workspace);

} // namespace lumetra
