// The command table against the program's description: menus (128 without a document, 129 with
// one), keys, toolbar, status prompts, help contexts and enable rules, written out here from the
// description's tables; then the routing of commands through the handlers that windows register.
#include "framework/CommandTable.h"
#include "framework/CommandTarget.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumetra {
namespace {

using R = EnableRule;

struct Described {
    int id;
    Menu menu;
    const char* text;
    const char* shortcut;
    bool documentOnly; // in menu 129 only
    const char* prompt;
    R rule;
    int helpContext;
};

// Menus, accelerators and prompts of the start-up Part; enable rules of the listing window and of
// the Window commands (which also wait while the document is busy).
const Described kDescribed[] = {
    {57600, Menu::File, "&New", "Ctrl+N", false, "Create a new Lumetra Instance\nNew Fit",
     R::Always, 0},
    {57601, Menu::File, "&Open...", "Ctrl+O", false, "Open an existing Lumetra File\nOpen",
     R::Always, 0},
    {57603, Menu::File, "&Save", "Ctrl+S", true, "Save the data to file\nSave", R::HaveReport, 0},
    {57604, Menu::File, "Save &As...", "Ctrl+Shift+S", true,
     "Save the data to a new file name\nSave As", R::HaveReport, 0},
    {57607, Menu::File, "&Print...", "Ctrl+P", true, "Print the active display\nPrint",
     R::HaveReport, 0},
    {57609, Menu::File, "Print Pre&view", "", true, "Display full pages\nPrint Preview",
     R::HaveReport, 0},
    {57606, Menu::File, "P&rint Setup...", "", false,
     "Change the printer and printing options\nPrint Setup", R::Always, 0},
    {57616, Menu::File, "Recent File", "", false, "Open this document", R::Always, 0},
    {57665, Menu::File, "E&xit", "Ctrl+Q", false,
     "Quit the application; prompts to save documents\nExit", R::Always, 0},
    {32774, Menu::Options, "&Data...", "", true,
     "Add/Modify/Delete Data, Set Curve Type/Order\nData", R::Always, 0},
    {32776, Menu::Options, "Compute...", "", true,
     "Compute Y from entered X and vice versa\nCompute", R::HaveReport, 0},
    {32781, Menu::Options, "&Zoom Plot", "", true, "Switch plot 50 to 100% or 100 to 50%\nZoom",
     R::Always, 0},
    {59392, Menu::View, "&Toolbar", "", false, "Show or hide the toolbar\nToggle ToolBar",
     R::Always, 0},
    {59393, Menu::View, "&Status Bar", "", false, "Show or hide the status bar\nToggle StatusBar",
     R::Always, 0},
    {32782, Menu::View, "&Next Data Page", "", true, "Next Data Page\nNext Page", R::NextPage, 0},
    {32783, Menu::View, "&Previous Data Page", "", true, "Previous Data Page\nPrevious Page",
     R::PrevPage, 0},
    {32784, Menu::View, "&Go to Display Page", "", true,
     "Select the display page you want displayed\nGoTo Display Page", R::SeveralPages, 0},
    {32778, Menu::Window, "&New List Window", "", true, "New Data Listing Window", R::DocumentIdle,
     0},
    {32779, Menu::Window, "New &Plot Window", "", true, "New Plot Window\nPlot", R::DocumentIdle,
     0},
    {57650, Menu::Window, "&Cascade", "", true, "Arrange windows so they overlap\nCascade Windows",
     R::AnyWindow, 0},
    {57651, Menu::Window, "&Tile", "", true,
     "Arrange windows as non-overlapping tiles\nTile Windows", R::AnyWindow, 0},
    {57649, Menu::Window, "&Arrange Icons", "", true,
     "Arrange icons at the bottom of the window\nArrange Icons", R::AnyWindow, 0},
    {57664, Menu::Help, "&About Lumetra...", "", false,
     "Display program information, version number and copyright\nAbout", R::Always, 0},
    {32771, Menu::Help, "Application &Synopsis...", "", false,
     "Learn about the Lumetra application", R::Always, 5001},
    {32775, Menu::Help, "&Contents...", "", false,
     "Display Table of Contents of Lumetra's help\nHelp", R::Always, 5000},
    {57680, Menu::None, "Next Window", "F6", true, "Switch to the next window\nNext Window",
     R::SeveralWindows, 0},
    {57681, Menu::None, "Previous Window", "Shift+F6", true,
     "Switch back to the previous window\nPrevious Window", R::SeveralWindows, 0},
};

TEST(CommandTable, EveryDescribedCommandHasItsTextKeyPromptRuleAndHelp) {
    for (const Described& d : kDescribed) {
        SCOPED_TRACE(d.id);
        const CommandDef* def = FindCommand(d.id);
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->menu, d.menu);
        EXPECT_STREQ(def->text, d.text);
        EXPECT_STREQ(def->shortcut, d.shortcut);
        EXPECT_EQ(def->documentOnly, d.documentOnly);
        EXPECT_STREQ(def->prompt, d.prompt);
        EXPECT_EQ(def->rule, d.rule);
        EXPECT_EQ(def->helpContext, d.helpContext);
    }
    // Each command has one row.
    for (const CommandDef& def : Commands())
        EXPECT_EQ(FindCommand(def.id), &def) << def.id;
    EXPECT_EQ(FindCommand(12345), nullptr);
    EXPECT_EQ(CommandPrompt(32774), "Add/Modify/Delete Data, Set Curve Type/Order");
    EXPECT_EQ(CommandToolTip(32774), "Data");
    EXPECT_EQ(CommandToolTip(32771), "");
    EXPECT_EQ(CommandMenuText(57603), "&Save");
}

// A menu as shown, with the commands the description does not name left out: ids and 0 for a
// separator, no separator first, last or twice.
std::vector<int> DescribedPart(Menu menu, bool withDocument) {
    std::vector<int> ids;
    for (const MenuEntry& e : MenuEntries(menu)) {
        const bool described = std::any_of(std::begin(kDescribed), std::end(kDescribed),
                                           [&](const Described& d) { return d.id == e.id; });
        if ((e.documentOnly && !withDocument) || (e.id != 0 && !described))
            continue;
        if (e.id != 0 || (!ids.empty() && ids.back() != 0))
            ids.push_back(e.id);
    }
    if (!ids.empty() && ids.back() == 0)
        ids.pop_back();
    return ids;
}

TEST(CommandTable, TheMenusHoldTheDescribedCommandsInTheirOrder) {
    struct Case {
        Menu menu;
        bool withDocument;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {Menu::File,
         true,
         {57600, 57601, 57603, 57604, 0, 57607, 57609, 57606, 0, 57616, 0, 57665}},
        {Menu::File, false, {57600, 57601, 0, 57606, 0, 57616, 0, 57665}},
        {Menu::Options, true, {32774, 0, 32776, 0, 32781}},
        {Menu::View, true, {59392, 59393, 0, 32782, 32783, 32784}},
        {Menu::View, false, {59392, 59393}},
        {Menu::Window, true, {32778, 32779, 0, 57650, 57651, 57649}},
        {Menu::Help, true, {57664, 0, 32771, 32775}},
        {Menu::Help, false, {57664, 0, 32771, 32775}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribedPart(c.menu, c.withDocument), c.ids)
            << int(c.menu) << (c.withDocument ? " with" : " without") << " a document";

    std::vector<std::string> titles, withoutDocument;
    for (const MenuDef& m : Menus()) {
        titles.push_back(m.title);
        if (!m.documentOnly)
            withoutDocument.push_back(m.title);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit", "&Options", "&View", "&Window",
                                                "&Help"}));
    EXPECT_EQ(withoutDocument, (std::vector<std::string>{"&File", "&Edit", "&View", "&Help"}));
}

TEST(CommandTable, TheToolbarIsTheDescribedOneWithTheStatisticsButton) {
    std::vector<int> bar = ToolbarLayout();
    const auto statistics = std::find(bar.begin(), bar.end(), 32790);
    ASSERT_NE(statistics, bar.end());
    EXPECT_EQ(*(statistics - 1), 32781); // beside Zoom Plot
    bar.erase(statistics);
    EXPECT_EQ(bar, (std::vector<int>{57600, 57601, 57603, 0, 32774, 32776, 0, 32779, 32781, 0,
                                     32782, 32783, 32784, 0, 57607, 32775}));
    for (int id : bar)
        EXPECT_TRUE(id == 0 || *FindCommand(id)->image) << id;
}

// A window that takes some commands and answers some rules.
class Target : public CCommandTarget {
public:
    std::vector<int> ran;
    bool hasReport = false;
    bool checked = false;

    Target& Takes(int id) {
        Handle(id, [this, id] { ran.push_back(id); });
        return *this;
    }
    Target& AnswersHaveReport() {
        Answer(R::HaveReport, [this] { return hasReport; });
        return *this;
    }
    using CCommandTarget::Handler;
};

TEST(CommandRoute, TheActiveViewThenTheFrameThenTheApplicationTakeACommand) {
    Target view, frame, app;
    view.Takes(32774).Takes(57603).AnswersHaveReport();
    frame.Takes(57603).Takes(32778);
    app.Takes(57600);
    const CommandRoute route{&view, false, &frame, &app};
    for (int id : {32774, 57603, 32778, 57600})
        EXPECT_TRUE(route.Run(id)) << id;
    EXPECT_FALSE(route.Run(32782));
    EXPECT_EQ(view.ran, (std::vector<int>{32774, 57603}));
    EXPECT_EQ(frame.ran, (std::vector<int>{32778}));
    EXPECT_EQ(app.ran, (std::vector<int>{57600}));

    // The table's rule, as the target that handles the command answers it.
    EXPECT_FALSE(route.State(57603).enabled);
    view.hasReport = true;
    EXPECT_TRUE(route.State(57603).enabled);
    // A rule the target does not answer does not hold; nobody's command is unavailable.
    EXPECT_FALSE(route.State(32778).enabled);
    EXPECT_TRUE(route.State(32774).enabled);
    EXPECT_FALSE(route.State(32782).enabled);

    // A busy document's view is passed over and its commands are greyed.
    const CommandRoute busy{&view, true, &frame, &app};
    EXPECT_TRUE(busy.Run(57603));
    EXPECT_FALSE(busy.Run(32774));
    EXPECT_EQ(frame.ran, (std::vector<int>{32778, 57603}));
    EXPECT_FALSE(busy.State(32774).enabled);
    EXPECT_TRUE(busy.State(57600).enabled);
}

TEST(CommandRoute, ATargetMayEnableByAnotherRuleAndShowACheck) {
    Target plot;
    plot.Takes(32776).Takes(32791);
    EXPECT_FALSE(plot.OnUpdateCommand(32776)->enabled); // the table's rule: a report
    plot.Handler(32776).EnabledBy(R::Always);
    EXPECT_TRUE(plot.OnUpdateCommand(32776)->enabled);
    int updates = 0;
    plot.Handler(32791).Checked([&plot] { return plot.checked; }).OnUpdate([&] { ++updates; });
    EXPECT_FALSE(plot.OnUpdateCommand(32791)->checked);
    plot.checked = true;
    EXPECT_TRUE(plot.OnUpdateCommand(32791)->checked);
    EXPECT_EQ(updates, 2);
    EXPECT_FALSE(plot.OnUpdateCommand(32782).has_value());
    EXPECT_FALSE(plot.OnCommand(32782));
}

} // namespace
} // namespace lumetra
