#include "app/WindowLayout.h"

#include "platform/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumetra {
namespace {

// Remembers the order in which values were written.
struct OrderedStore : MemorySettingsStore {
    std::vector<std::string> written;
    void SetString(const std::string& section, const std::string& entry,
                   const std::string& value) override {
        written.push_back(section + "/" + entry + "=" + value);
        MemorySettingsStore::SetString(section, entry, value);
    }
};

RestoredLayout Read(const MemorySettingsStore& store, int w = 640, int h = 480) {
    return ReadWindowLayout(store, w, h);
}

TEST(WindowLayout, AFirstRunGetsTheBuiltInRectangleNormalWithBothBars) {
    MemorySettingsStore store;
    const RestoredLayout l = Read(store);
    EXPECT_EQ(l.normal, (WindowRect{19, 72, 676, 449}));
    EXPECT_EQ(l.showState, kShowNormal);
    EXPECT_FALSE(l.restoreToMaximized);
    EXPECT_TRUE(l.toolBar);
    EXPECT_TRUE(l.statusLine);
}

TEST(WindowLayout, ARectangleTooLargeForTheScreenIsMovedThenShrunk) {
    MemorySettingsStore store;
    store.SetString(kWindowSection, "Coordinates", "0010 0020 0810 0620");
    EXPECT_EQ(Read(store).normal, (WindowRect{0, 0, 640, 480}));
    // Rule 4 keeps the width when it fits.
    store.SetString(kWindowSection, "Coordinates", "-100 0050 0500 0400");
    EXPECT_EQ(Read(store).normal, (WindowRect{0, 50, 600, 400}));
}

TEST(WindowLayout, EachEdgeRuleInTurn) {
    // Bottom below the screen: moved up with its height.
    EXPECT_EQ(ClampToScreen({10, 300, 210, 500}, 640, 480), (WindowRect{10, 280, 210, 480}));
    // Right beyond the screen: moved left with its width.
    EXPECT_EQ(ClampToScreen({500, 10, 700, 110}, 640, 480), (WindowRect{440, 10, 640, 110}));
    // Above the screen: moved down; taller than the screen: cut to it.
    EXPECT_EQ(ClampToScreen({10, -50, 110, 50}, 640, 480), (WindowRect{10, 0, 110, 100}));
    EXPECT_EQ(ClampToScreen({10, -50, 110, 450}, 640, 400), (WindowRect{10, 0, 110, 400}));
    // Left of the screen and wider than it.
    EXPECT_EQ(ClampToScreen({-10, 0, 700, 100}, 640, 480), (WindowRect{0, 0, 640, 100}));
    // Inside: unchanged; exactly the screen: unchanged.
    EXPECT_EQ(ClampToScreen({1, 2, 300, 200}, 640, 480), (WindowRect{1, 2, 300, 200}));
    EXPECT_EQ(ClampToScreen({0, 0, 640, 480}, 640, 480), (WindowRect{0, 0, 640, 480}));
}

TEST(WindowLayout, CoordinatesAreReadAtFixedPositionsWithoutGoingPastTheEnd) {
    EXPECT_EQ(ReadCoordinates("0010 0020 0810 0620"), (WindowRect{10, 20, 810, 620}));
    EXPECT_EQ(ReadCoordinates("-100 0050 0500 0400"), (WindowRect{-100, 50, 500, 400}));
    // Short texts: the positions past the end read 0.
    EXPECT_EQ(ReadCoordinates("0010 0020"), (WindowRect{10, 20, 0, 0}));
    EXPECT_EQ(ReadCoordinates("0010 0020 0810 06"), (WindowRect{10, 20, 810, 6}));
    EXPECT_EQ(ReadCoordinates("7"), (WindowRect{7, 0, 0, 0}));
    // Other separators: what stands at each position, as atoi reads it.
    EXPECT_EQ(ReadCoordinates("10,20,30,40,50,60,70"), (WindowRect{10, 0, 0, 60}));
    EXPECT_EQ(ReadCoordinates("abcdefghijklmnopqrs"), (WindowRect{0, 0, 0, 0}));
    // A view that ends early never sees what lies after it.
    const std::string longer = "0010 0020 0810 0620";
    EXPECT_EQ(ReadCoordinates(std::string_view(longer).substr(0, 12)), (WindowRect{10, 20, 8, 0}));
}

TEST(WindowLayout, AMalformedStoredRectangleStillGetsTheFourRules) {
    MemorySettingsStore store;
    store.SetString(kWindowSection, "Coordinates", "0100 0050");
    // left 100, top 50, right 0, bottom 0: nothing overflows, so it stays as read.
    EXPECT_EQ(Read(store).normal, (WindowRect{100, 50, 0, 0}));
    store.SetString(kWindowSection, "Coordinates", "9000");
    // left 9000, right 0: rule 2 does not apply (right fits); nothing negative either.
    EXPECT_EQ(Read(store).normal, (WindowRect{9000, 0, 0, 0}));
    store.SetString(kWindowSection, "Coordinates", "-500 -500");
    EXPECT_EQ(Read(store).normal, (WindowRect{0, 0, 500, 480}));
}

TEST(WindowLayout, ShowStatesFromTheStoredFlags) {
    MemorySettingsStore store;
    store.SetString(kWindowSection, "Maximized", "1");
    EXPECT_EQ(Read(store).showState, kShowMaximized);
    EXPECT_TRUE(Read(store).restoreToMaximized);
    store.SetString(kWindowSection, "Iconized", "1");
    EXPECT_EQ(Read(store).showState, kShowMinNoActive);
    EXPECT_TRUE(Read(store).restoreToMaximized);
    store.SetString(kWindowSection, "Maximized", "0");
    EXPECT_EQ(Read(store).showState, kShowMinNoActive);
    EXPECT_FALSE(Read(store).restoreToMaximized);
    // Only "1" counts.
    store.SetString(kWindowSection, "Iconized", "yes");
    store.SetString(kWindowSection, "Maximized", " 1");
    EXPECT_EQ(Read(store).showState, kShowNormal);
    store.SetString(kWindowSection, "ToolBar", "0");
    store.SetString(kWindowSection, "StatusLine", "2");
    EXPECT_FALSE(Read(store).toolBar);
    EXPECT_FALSE(Read(store).statusLine);
}

TEST(WindowLayout, ClosingWritesTheValuesInOrder) {
    OrderedStore store;
    ClosingLayout l;
    l.normal = {-5, 20, 700, 9999};
    l.showState = kShowMaximized;
    l.toolBarVisible = false;
    WriteWindowLayout(store, l);
    EXPECT_EQ(store.written, (std::vector<std::string>{
                                 "Last Window Data/Coordinates=-005 0020 0700 9999",
                                 "Last Window Data/Iconized=0",
                                 "Last Window Data/Maximized=1",
                                 "Last Window Data/ToolBar=0",
                                 "Last Window Data/StatusLine=1",
                             }));
    // Read back, the maximized window opens maximized with its toolbar hidden.
    const RestoredLayout back = ReadWindowLayout(store, 1024, 768);
    EXPECT_EQ(back.showState, kShowMaximized);
    EXPECT_FALSE(back.toolBar);
}

TEST(WindowLayout, AMinimizedWindowRemembersWhetherItWasMaximized) {
    OrderedStore store;
    ClosingLayout l;
    l.normal = {19, 72, 676, 449};
    l.showState = kShowMinimized;
    l.restoreToMaximized = true;
    WriteWindowLayout(store, l);
    EXPECT_EQ(store.GetString(kWindowSection, "Iconized"), "1");
    EXPECT_EQ(store.GetString(kWindowSection, "Maximized"), "1");
    const RestoredLayout back = ReadWindowLayout(store, 1024, 768);
    EXPECT_EQ(back.showState, kShowMinNoActive);
    EXPECT_TRUE(back.restoreToMaximized);
    EXPECT_EQ(back.normal, (WindowRect{19, 72, 676, 449}));

    l.restoreToMaximized = false;
    WriteWindowLayout(store, l);
    EXPECT_EQ(store.GetString(kWindowSection, "Maximized"), "0");
    // Any other show state counts as normal.
    l.showState = 0;
    WriteWindowLayout(store, l);
    EXPECT_EQ(store.GetString(kWindowSection, "Iconized"), "0");
    EXPECT_EQ(store.GetString(kWindowSection, "Maximized"), "0");
}

TEST(WindowLayout, BarsThatDoNotExistAreNotWritten) {
    OrderedStore store;
    ClosingLayout l;
    l.hasToolBar = false;
    l.hasStatusLine = false;
    WriteWindowLayout(store, l);
    ASSERT_EQ(store.written.size(), 3u);
    EXPECT_FALSE(store.Contains(kWindowSection, "ToolBar"));
    EXPECT_FALSE(store.Contains(kWindowSection, "StatusLine"));
}

bool Inside(const WindowRect& r, WindowSize ws) {
    return r.left >= 0 && r.top >= 0 && r.right <= ws.width && r.bottom <= ws.height;
}

// Workspaces from a cramped laptop window to a large monitor, and one smaller than a window.
const WindowSize kWorkspaces[] = {{1920, 1000}, {800, 500}, {657, 262}, {300, 200}, {241, 151}};

TEST(DocumentWindows, AWantedPlacePastAnEdgeIsMovedInsideAndShrunkToFit) {
    const WindowSize ws{800, 500};
    EXPECT_EQ(PlaceInWorkspace({700, 400, 1340, 800}, ws), (WindowRect{160, 100, 800, 500}));
    EXPECT_EQ(PlaceInWorkspace({-50, -20, 250, 180}, ws), (WindowRect{0, 0, 300, 200}));
    EXPECT_EQ(PlaceInWorkspace({100, 50, 1100, 650}, ws), (WindowRect{0, 0, 800, 500}));
    // Already inside: left alone.
    EXPECT_EQ(PlaceInWorkspace({10, 20, 410, 320}, ws), (WindowRect{10, 20, 410, 320}));
    // Never below the smallest size a window may have: at the corner, as much as shows.
    EXPECT_EQ(PlaceInWorkspace({50, 60, 150, 100}, {200, 120}), (WindowRect{0, 0, 240, 150}));
    EXPECT_EQ(PlaceInWorkspace({50, 60, 350, 260}, {200, 120}), (WindowRect{0, 0, 240, 150}));
}

TEST(DocumentWindows, NewWindowsOpenInsideEveryWorkspaceSteppingDownAndRight) {
    for (const WindowSize& ws : kWorkspaces) {
        SCOPED_TRACE(std::to_string(ws.width) + "x" + std::to_string(ws.height));
        for (int open = 0; open < 40; ++open) {
            const WindowRect r = NewWindowRect(open, ws, 24);
            EXPECT_TRUE(Inside(r, ws)) << open;
            EXPECT_EQ(r.right - r.left, std::max(240, ws.width * 4 / 5));
            EXPECT_EQ(r.bottom - r.top, std::max(150, ws.height * 4 / 5));
        }
    }
    const WindowSize ws{800, 500};
    EXPECT_EQ(NewWindowRect(0, ws, 24), (WindowRect{0, 0, 640, 400}));
    EXPECT_EQ(NewWindowRect(1, ws, 24), (WindowRect{24, 24, 664, 424}));
    // 100 pixels to spare below: slots at 0, 24, 48, 72, 96, then the corner again.
    EXPECT_EQ(NewWindowRect(4, ws, 24), (WindowRect{96, 96, 736, 496}));
    EXPECT_EQ(NewWindowRect(5, ws, 24), (WindowRect{0, 0, 640, 400}));
    // A workspace smaller than a window: at the corner every time.
    EXPECT_EQ(NewWindowRect(3, {200, 100}, 24), (WindowRect{0, 0, 240, 150}));
}

TEST(DocumentWindows, CascadeKeepsWindowsAtAUsableSizeInsideTheWorkspace) {
    const WindowSize ws{800, 500};
    const std::vector<WindowRect> three = CascadeRects(3, ws, 24);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0], (WindowRect{0, 0, 752, 452}));
    EXPECT_EQ(three[2], (WindowRect{48, 48, 800, 500}));
    // Many windows: three fifths of the workspace, the steps starting again at the corner.
    const std::vector<WindowRect> many = CascadeRects(20, ws, 24);
    for (const WindowRect& r : many) {
        EXPECT_TRUE(Inside(r, ws));
        EXPECT_EQ(r.right - r.left, 480);
        EXPECT_EQ(r.bottom - r.top, 300);
    }
    EXPECT_EQ(many[8], (WindowRect{192, 192, 672, 492}));
    EXPECT_EQ(many[9], (WindowRect{0, 0, 480, 300}));
    for (const WindowSize& w : kWorkspaces)
        for (const WindowRect& r : CascadeRects(12, w, 24)) {
            EXPECT_TRUE(Inside(r, w) || w.width < 240);
            EXPECT_GE(r.right - r.left, std::min(w.width, std::max(240, w.width * 3 / 5)));
            EXPECT_GE(r.bottom - r.top, std::min(w.height, std::max(150, w.height * 3 / 5)));
        }
    EXPECT_TRUE(CascadeRects(0, ws, 24).empty());
}

TEST(DocumentWindows, IconsLineUpAlongTheBottomAndWrapUpwards) {
    const std::vector<WindowRect> icons =
        IconRects({{160, 30}, {160, 30}, {160, 30}, {160, 30}}, {500, 400});
    ASSERT_EQ(icons.size(), 4u);
    EXPECT_EQ(icons[0], (WindowRect{0, 370, 160, 400}));
    EXPECT_EQ(icons[2], (WindowRect{320, 370, 480, 400}));
    EXPECT_EQ(icons[3], (WindowRect{0, 340, 160, 370})); // 640 would pass the right edge
    // An icon wider than the workspace still gets a place of its own.
    const std::vector<WindowRect> wide = IconRects({{600, 30}, {100, 30}}, {500, 400});
    EXPECT_EQ(wide[0], (WindowRect{0, 370, 600, 400}));
    EXPECT_EQ(wide[1], (WindowRect{0, 340, 100, 370}));
}

} // namespace
} // namespace lumetra
