#include "framework/CommandTable.h"

#include "framework/CommandIds.h"
#include "framework/HelpContexts.h"

#include <algorithm>

namespace lumetra {
namespace {

using R = EnableRule;

// Prompts the system gives no text of its own are the toolkit's standard ones.
const std::vector<CommandDef> kCommands = {
    // File
    {.id = cmd::kFileNew,
     .menu = Menu::File,
     .text = "&New",
     .shortcut = "Ctrl+N",
     .prompt = "Create a new Lumetra Instance\nNew Fit",
     .image = "new",
     .toolbar = 11},
    {.id = cmd::kFileOpen,
     .menu = Menu::File,
     .text = "&Open...",
     .shortcut = "Ctrl+O",
     .prompt = "Open an existing Lumetra File\nOpen",
     .image = "open",
     .toolbar = 12,
     .cliVerb = "check"},
    {.id = cmd::kImportText,
     .menu = Menu::File,
     .text = "&Import Text...",
     .prompt = "Start a new data set from the X/Y pairs of a text file\nImport Text",
     .cliVerb = "import"},
    {.id = cmd::kFileClose,
     .menu = Menu::File,
     .documentOnly = true,
     .text = "&Close",
     .prompt = "Close the active document\nClose",
     .rule = R::DocumentWindow},
    {.id = cmd::kFileSave,
     .menu = Menu::File,
     .documentOnly = true,
     .text = "&Save",
     .shortcut = "Ctrl+S",
     .prompt = "Save the data to file\nSave",
     .image = "save",
     .toolbar = 13,
     .rule = R::HaveReport},
    {.id = cmd::kFileSaveAs,
     .menu = Menu::File,
     .documentOnly = true,
     .text = "Save &As...",
     .shortcut = "Ctrl+Shift+S",
     .prompt = "Save the data to a new file name\nSave As",
     .rule = R::HaveReport},
    {.id = cmd::kFilePrint,
     .menu = Menu::File,
     .separatorBefore = true,
     .documentOnly = true,
     .text = "&Print...",
     .shortcut = "Ctrl+P",
     .prompt = "Print the active display\nPrint",
     .image = "print",
     .toolbar = 51,
     .rule = R::HaveReport,
     .cliVerb = "report"},
    {.id = cmd::kPrintPreview,
     .menu = Menu::File,
     .documentOnly = true,
     .text = "Print Pre&view",
     .prompt = "Display full pages\nPrint Preview",
     .rule = R::HaveReport},
    {.id = cmd::kExportPlot,
     .menu = Menu::File,
     .documentOnly = true,
     .text = "Export Plot...",
     .prompt = "Save the plot as a PNG, SVG or PDF picture\nExport Plot",
     .cliVerb = "plot"},
    {.id = cmd::kExportTable,
     .menu = Menu::File,
     .documentOnly = true,
     .text = "Export &Table...",
     .prompt = "Save the report's table as CSV, or the report as text\nExport Table",
     .rule = R::HaveReport,
     .cliVerb = "export"},
    {.id = cmd::kPrintSetup,
     .menu = Menu::File,
     .text = "P&rint Setup...",
     .prompt = "Change the printer and printing options\nPrint Setup"},
    // The place of the recent-file list, greyed while the list is empty.
    {.id = cmd::kRecentFile1,
     .menu = Menu::File,
     .separatorBefore = true,
     .text = "Recent File",
     .prompt = "Open this document"},
    {.id = cmd::kExit,
     .menu = Menu::File,
     .separatorBefore = true,
     .text = "E&xit",
     .shortcut = "Ctrl+Q",
     .prompt = "Quit the application; prompts to save documents\nExit"},
    // Edit
    {.id = cmd::kEditUndo,
     .menu = Menu::Edit,
     .text = "&Undo",
     .shortcut = "Ctrl+Z",
     .prompt = "Undo the last action\nUndo",
     .rule = R::CanUndo},
    {.id = cmd::kEditRedo,
     .menu = Menu::Edit,
     .text = "&Redo",
     .shortcut = "Ctrl+Y; Ctrl+Shift+Z",
     .prompt = "Redo the previously undone action\nRedo",
     .rule = R::CanRedo},
    {.id = cmd::kEditCopy,
     .menu = Menu::Edit,
     .separatorBefore = true,
     .text = "&Copy",
     .shortcut = "Ctrl+C",
     .prompt = "Copy the selection and put it on the Clipboard\nCopy",
     .rule = R::CopyableText},
    {.id = cmd::kEditSelectAll,
     .menu = Menu::Edit,
     .text = "Select &All",
     .shortcut = "Ctrl+A",
     .prompt = "Select the entire document\nSelect All",
     .rule = R::HaveReport},
    {.id = cmd::kCopyPlot,
     .menu = Menu::Edit,
     .separatorBefore = true,
     .documentOnly = true,
     .text = "Copy &Plot",
     .prompt = "Copy the plot to the Clipboard as a picture\nCopy Plot"},
    // Options
    {.id = cmd::kOptionsData,
     .menu = Menu::Options,
     .documentOnly = true,
     .text = "&Data...",
     .prompt = "Add/Modify/Delete Data, Set Curve Type/Order\nData",
     .image = "data",
     .toolbar = 21,
     .cliVerb = "fit"},
    {.id = cmd::kOptionsCompute,
     .menu = Menu::Options,
     .separatorBefore = true,
     .documentOnly = true,
     .text = "Compute...",
     .prompt = "Compute Y from entered X and vice versa\nCompute",
     .image = "compute",
     .toolbar = 22,
     .rule = R::HaveReport,
     .cliVerb = "compute"},
    {.id = cmd::kZoomPlot,
     .menu = Menu::Options,
     .separatorBefore = true,
     .documentOnly = true,
     .text = "&Zoom Plot",
     .prompt = "Switch plot 50 to 100% or 100 to 50%\nZoom",
     .image = "zoom",
     .toolbar = 32},
    {.id = cmd::kConfidenceBand,
     .menu = Menu::Options,
     .documentOnly = true,
     .text = "&Confidence Band",
     .prompt = "Show or hide the confidence band of the fitted curve\nConfidence Band",
     .checkable = true,
     .cliVerb = "plot"},
    {.id = cmd::kPredictionBand,
     .menu = Menu::Options,
     .documentOnly = true,
     .text = "&Prediction Band",
     .prompt = "Show or hide the prediction band of a new observation\nPrediction Band",
     .checkable = true,
     .cliVerb = "plot"},
    {.id = cmd::kResidualPlot,
     .menu = Menu::Options,
     .documentOnly = true,
     .text = "&Residual Plot",
     .prompt = "Plot the differences against X instead of the pairs\nResidual Plot",
     .checkable = true,
     .cliVerb = "plot"},
    {.id = cmd::kLogXAxis,
     .menu = Menu::Options,
     .separatorBefore = true,
     .documentOnly = true,
     .text = "Log &X Axis",
     .prompt = "Draw the X axis logarithmically, with ticks at the decades\nLog X Axis",
     .checkable = true,
     .cliVerb = "plot"},
    {.id = cmd::kLogYAxis,
     .menu = Menu::Options,
     .documentOnly = true,
     .text = "Log &Y Axis",
     .prompt = "Draw the Y axis logarithmically, with ticks at the decades\nLog Y Axis",
     .checkable = true,
     .cliVerb = "plot"},
    {.id = cmd::kLogAxesForLogModels,
     .menu = Menu::Options,
     .documentOnly = true,
     .text = "Log Axes for &Log Models",
     .prompt = "Open plots of log-log and semilog fits on the log axes their curves are straight "
               "on\nLog Axes for Log Models",
     .checkable = true},
    {.id = cmd::kReadableAxes,
     .menu = Menu::Options,
     .documentOnly = true,
     .text = "Readable &Axes",
     .prompt = "Widen the axes to tidy values, with ticks at 1, 2 or 5 times a power of "
               "ten\nReadable Axes",
     .checkable = true,
     .cliVerb = "plot"},
    {.id = cmd::kFitToWindow,
     .menu = Menu::Options,
     .documentOnly = true,
     .text = "&Fit to Window",
     .prompt = "Scale the plot to fill its window, or show it at 50 or 100% again\nFit to Window",
     .checkable = true},
    // View
    {.id = cmd::kViewToolbar,
     .menu = Menu::View,
     .text = "&Toolbar",
     .prompt = "Show or hide the toolbar\nToggle ToolBar",
     .checkable = true},
    {.id = cmd::kViewStatusBar,
     .menu = Menu::View,
     .text = "&Status Bar",
     .prompt = "Show or hide the status bar\nToggle StatusBar",
     .checkable = true},
    {.id = cmd::kNextPage,
     .menu = Menu::View,
     .separatorBefore = true,
     .documentOnly = true,
     .text = "&Next Data Page",
     .prompt = "Next Data Page\nNext Page",
     .image = "next page",
     .toolbar = 41,
     .rule = R::NextPage},
    {.id = cmd::kPrevPage,
     .menu = Menu::View,
     .documentOnly = true,
     .text = "&Previous Data Page",
     .prompt = "Previous Data Page\nPrevious Page",
     .image = "previous page",
     .toolbar = 42,
     .rule = R::PrevPage},
    {.id = cmd::kGoToPage,
     .menu = Menu::View,
     .documentOnly = true,
     .text = "&Go to Display Page",
     .prompt = "Select the display page you want displayed\nGoTo Display Page",
     .image = "go to page",
     .toolbar = 43,
     .rule = R::SeveralPages},
    {.id = cmd::kStatisticsWindow,
     .menu = Menu::View,
     .separatorBefore = true,
     .documentOnly = true,
     .text = "Stat&istics Window",
     .prompt = "Open a window with the statistics of the fit\nStatistics",
     .image = "statistics",
     .toolbar = 33,
     .rule = R::DocumentIdle,
     .cliVerb = "stats"},
    // Window
    {.id = cmd::kNewListWindow,
     .menu = Menu::Window,
     .documentOnly = true,
     .text = "&New List Window",
     .prompt = "New Data Listing Window",
     .rule = R::DocumentIdle},
    {.id = cmd::kNewPlotWindow,
     .menu = Menu::Window,
     .documentOnly = true,
     .text = "New &Plot Window",
     .prompt = "New Plot Window\nPlot",
     .image = "plot window",
     .toolbar = 31,
     .rule = R::DocumentIdle},
    {.id = cmd::kCascade,
     .menu = Menu::Window,
     .separatorBefore = true,
     .documentOnly = true,
     .text = "&Cascade",
     .prompt = "Arrange windows so they overlap\nCascade Windows",
     .rule = R::AnyWindow},
    {.id = cmd::kTile,
     .menu = Menu::Window,
     .documentOnly = true,
     .text = "&Tile",
     .prompt = "Arrange windows as non-overlapping tiles\nTile Windows",
     .rule = R::AnyWindow},
    {.id = cmd::kArrangeIcons,
     .menu = Menu::Window,
     .documentOnly = true,
     .text = "&Arrange Icons",
     .prompt = "Arrange icons at the bottom of the window\nArrange Icons",
     .rule = R::AnyWindow},
    // Below the window list once it holds more windows than it shows.
    {.id = cmd::kMoreWindows,
     .menu = Menu::Window,
     .documentOnly = true,
     .text = "&More Windows...",
     .prompt = "Choose a window from every open window\nMore Windows",
     .rule = R::AnyWindow},
    // Help
    {.id = cmd::kAbout,
     .menu = Menu::Help,
     .text = "&About Lumetra...",
     .prompt = "Display program information, version number and copyright\nAbout"},
    {.id = cmd::kAppSynopsis,
     .menu = Menu::Help,
     .separatorBefore = true,
     .text = "Application &Synopsis...",
     .prompt = "Learn about the Lumetra application",
     .helpContext = help::kSynopsis},
    {.id = cmd::kHelpContents,
     .menu = Menu::Help,
     .text = "&Contents...",
     .prompt = "Display Table of Contents of Lumetra's help\nHelp",
     .image = "help",
     .toolbar = 52,
     .helpContext = help::kContents},
    // Keys alone
    {.id = cmd::kCloseWindow,
     .documentOnly = true,
     .text = "Close Window",
     .shortcut = "Ctrl+W",
     .prompt = "Close the active window; the last window of a data set prompts to save it\nClose "
               "Window",
     .rule = R::AnyWindow},
    {.id = cmd::kNextWindow,
     .documentOnly = true,
     .text = "Next Window",
     .shortcut = "F6",
     .prompt = "Switch to the next window\nNext Window",
     .rule = R::SeveralWindows},
    {.id = cmd::kPrevWindow,
     .documentOnly = true,
     .text = "Previous Window",
     .shortcut = "Shift+F6",
     .prompt = "Switch back to the previous window\nPrevious Window",
     .rule = R::SeveralWindows},
    {.id = cmd::kHelpTopic,
     .text = "Help",
     .shortcut = "F1",
     .prompt = "Display help for current task or command\nHelp"},
    // The desktop's and "lumetra --print"'s printing, without the print dialog.
    {.id = cmd::kFilePrintDirect, .rule = R::HaveReport, .cliVerb = "report"},
};

const std::vector<MenuDef> kMenus = {
    {Menu::File, "&File", false},      {Menu::Edit, "&Edit", false},
    {Menu::Options, "&Options", true}, {Menu::View, "&View", false},
    {Menu::Window, "&Window", true},   {Menu::Help, "&Help", false},
};

std::string PromptPart(int id, bool tip) {
    const CommandDef* def = FindCommand(id);
    if (!def)
        return "";
    const std::string text = def->prompt;
    const size_t nl = text.find('\n');
    if (!tip)
        return text.substr(0, nl);
    return nl == std::string::npos ? "" : text.substr(nl + 1);
}

} // namespace

const std::vector<CommandDef>& Commands() {
    return kCommands;
}

const CommandDef* FindCommand(int id) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [id](const CommandDef& def) { return def.id == id; });
    return it == kCommands.end() ? nullptr : &*it;
}

const std::vector<MenuDef>& Menus() {
    return kMenus;
}

std::vector<MenuEntry> MenuEntries(Menu menu) {
    std::vector<MenuEntry> entries;
    size_t separator = 0;
    for (const CommandDef& def : kCommands) {
        if (def.menu != menu)
            continue;
        if (def.separatorBefore && !entries.empty()) {
            separator = entries.size();
            entries.push_back({0, true});
        }
        entries.push_back({def.id, def.documentOnly});
        if (separator > 0 && !def.documentOnly)
            entries[separator].documentOnly = false;
    }
    return entries;
}

const std::vector<int>& ToolbarLayout() {
    static const std::vector<int> layout = [] {
        std::vector<const CommandDef*> buttons;
        for (const CommandDef& def : kCommands)
            if (def.toolbar > 0)
                buttons.push_back(&def);
        std::sort(buttons.begin(), buttons.end(),
                  [](const CommandDef* a, const CommandDef* b) { return a->toolbar < b->toolbar; });
        std::vector<int> ids;
        for (size_t i = 0; i < buttons.size(); ++i) {
            if (i > 0 && buttons[i]->toolbar / 10 != buttons[i - 1]->toolbar / 10)
                ids.push_back(0);
            ids.push_back(buttons[i]->id);
        }
        return ids;
    }();
    return layout;
}

std::string CommandPrompt(int id) {
    return PromptPart(id, false);
}

std::string CommandToolTip(int id) {
    return PromptPart(id, true);
}

std::string CommandMenuText(int id) {
    const CommandDef* def = FindCommand(id);
    return def ? def->text : "";
}

} // namespace lumetra
