#include "framework/CommandTable.h"

#include "framework/CommandIds.h"

namespace lumetra {
namespace {

struct Prompt {
    int id;
    const char* text;
};

// Commands without an entry here show the toolkit's own texts.
constexpr Prompt kPrompts[] = {
    {cmd::kAppSynopsis, "Learn about the Lumetra application"},
    {cmd::kOptionsData, "Add/Modify/Delete Data, Set Curve Type/Order\nData"},
    {cmd::kHelpContents, "Display Table of Contents of Lumetra's help\nHelp"},
    {cmd::kOptionsCompute, "Compute Y from entered X and vice versa\nCompute"},
    {cmd::kNewListWindow, "New Data Listing Window"},
    {cmd::kNewPlotWindow, "New Plot Window\nPlot"},
    {cmd::kZoomPlot, "Switch plot 50 to 100% or 100 to 50%\nZoom"},
    {cmd::kNextPage, "Next Data Page\nNext Page"},
    {cmd::kPrevPage, "Previous Data Page\nPrevious Page"},
    {cmd::kGoToPage, "Select the display page you want displayed\nGoTo Display Page"},
    {cmd::kFileNew, "Create a new Lumetra Instance\nNew Fit"},
    {cmd::kFileOpen, "Open an existing Lumetra File\nOpen"},
    {cmd::kFileSave, "Save the data to file\nSave"},
    {cmd::kFileSaveAs, "Save the data to a new file name\nSave As"},
    {cmd::kPrintSetup, "Change the printer and printing options\nPrint Setup"},
    {cmd::kFilePrint, "Print the active display\nPrint"},
    {cmd::kPrintPreview, "Display full pages\nPrint Preview"},
    {cmd::kExportPlot, "Save the plot as a PNG, SVG or PDF picture\nExport Plot"},
    {cmd::kStatisticsWindow, "Open a window with the statistics of the fit\nStatistics"},
    {cmd::kConfidenceBand, "Show or hide the confidence band of the fitted curve\nConfidence Band"},
    {cmd::kPredictionBand,
     "Show or hide the prediction band of a new observation\nPrediction Band"},
    {cmd::kResidualPlot, "Plot the differences against X instead of the pairs\nResidual Plot"},
    {cmd::kExit, "Quit the application; prompts to save documents\nExit"},
    {cmd::kCopyPlot, "Copy the plot to the Clipboard as a picture\nCopy Plot"},
    {cmd::kExportTable, "Save the report's table as CSV, or the report as text\nExport Table"},
    // The toolkit's standard texts for the rest.
    {cmd::kAbout, "Display program information, version number and copyright\nAbout"},
    {cmd::kCascade, "Arrange windows so they overlap\nCascade Windows"},
    {cmd::kTile, "Arrange windows as non-overlapping tiles\nTile Windows"},
    {cmd::kArrangeIcons, "Arrange icons at the bottom of the window\nArrange Icons"},
    {cmd::kViewToolbar, "Show or hide the toolbar\nToggle ToolBar"},
    {cmd::kViewStatusBar, "Show or hide the status bar\nToggle StatusBar"},
    {cmd::kRecentFile1, "Open this document"},
    {cmd::kFileClose, "Close the active document\nClose"},
    {cmd::kEditCopy, "Copy the selection and put it on the Clipboard\nCopy"},
    {cmd::kEditSelectAll, "Select the entire document\nSelect All"},
    {cmd::kNextWindow, "Switch to the next window\nNext Window"},
    {cmd::kPrevWindow, "Switch back to the previous window\nPrevious Window"},
    {cmd::kHelpTopic, "Display help for current task or command\nHelp"},
};

const MenuEntry kSeparator{0, "", false};

} // namespace

const std::vector<MenuDef>& MenuBar() {
    static const std::vector<MenuDef> bar = {
        {"&File",
         false,
         {{cmd::kFileNew, "&New\tCtrl+N", false},
          {cmd::kFileOpen, "&Open...\tCtrl+O", false},
          {cmd::kFileClose, "&Close", true},
          {cmd::kFileSave, "&Save\tCtrl+S", true},
          {cmd::kFileSaveAs, "Save &As...", true},
          kSeparator,
          {cmd::kFilePrint, "&Print...\tCtrl+P", true},
          {cmd::kPrintPreview, "Print Pre&view", true},
          {cmd::kExportPlot, "Export Plot...", true},
          {cmd::kExportTable, "Export &Table...", true},
          {cmd::kPrintSetup, "P&rint Setup...", false},
          kSeparator,
          {cmd::kRecentFile1, "Recent File", false},
          kSeparator,
          {cmd::kExit, "E&xit", false}}},
        {"&Edit",
         false,
         {{cmd::kEditCopy, "&Copy\tCtrl+C", false},
          {cmd::kEditSelectAll, "Select &All\tCtrl+A", false},
          {0, "", true},
          {cmd::kCopyPlot, "Copy &Plot", true}}},
        {"&Options",
         true,
         {{cmd::kOptionsData, "&Data...", true},
          kSeparator,
          {cmd::kOptionsCompute, "Compute...", true},
          kSeparator,
          {cmd::kZoomPlot, "&Zoom Plot", true},
          {cmd::kConfidenceBand, "&Confidence Band", true},
          {cmd::kPredictionBand, "&Prediction Band", true},
          {cmd::kResidualPlot, "&Residual Plot", true}}},
        {"&View",
         false,
         {{cmd::kViewToolbar, "&Toolbar", false},
          {cmd::kViewStatusBar, "&Status Bar", false},
          {0, "", true},
          {cmd::kNextPage, "&Next Data Page", true},
          {cmd::kPrevPage, "&Previous Data Page", true},
          {cmd::kGoToPage, "&Go to Display Page", true},
          {0, "", true},
          {cmd::kStatisticsWindow, "Stat&istics Window", true}}},
        {"&Window",
         true,
         {{cmd::kNewListWindow, "&New List Window", true},
          {cmd::kNewPlotWindow, "New &Plot Window", true},
          kSeparator,
          {cmd::kCascade, "&Cascade", true},
          {cmd::kTile, "&Tile", true},
          {cmd::kArrangeIcons, "&Arrange Icons", true}}},
        {"&Help",
         false,
         {{cmd::kAbout, "&About Lumetra...", false},
          kSeparator,
          {cmd::kAppSynopsis, "Application &Synopsis...", false},
          {cmd::kHelpContents, "&Contents...", false}}},
    };
    return bar;
}

const std::vector<MenuEntry>& AcceleratorCommands() {
    static const std::vector<MenuEntry> keys = {
        {cmd::kNextWindow, "Next Window\tF6", true},
        {cmd::kPrevWindow, "Previous Window\tShift+F6", true},
        {cmd::kHelpTopic, "Help\tF1", false},
    };
    return keys;
}

const std::vector<int>& ToolbarLayout() {
    static const std::vector<int> layout = {cmd::kFileNew,
                                            cmd::kFileOpen,
                                            cmd::kFileSave,
                                            0,
                                            cmd::kOptionsData,
                                            cmd::kOptionsCompute,
                                            0,
                                            cmd::kNewPlotWindow,
                                            cmd::kZoomPlot,
                                            cmd::kStatisticsWindow,
                                            0,
                                            cmd::kNextPage,
                                            cmd::kPrevPage,
                                            cmd::kGoToPage,
                                            0,
                                            cmd::kFilePrint,
                                            cmd::kHelpContents};
    return layout;
}

std::string CommandPrompt(int id) {
    for (const Prompt& p : kPrompts)
        if (p.id == id) {
            const std::string text = p.text;
            return text.substr(0, text.find('\n'));
        }
    return "";
}

std::string CommandToolTip(int id) {
    for (const Prompt& p : kPrompts)
        if (p.id == id) {
            const std::string text = p.text;
            const size_t nl = text.find('\n');
            return nl == std::string::npos ? "" : text.substr(nl + 1);
        }
    return "";
}

std::string CommandMenuText(int id) {
    for (const MenuDef& menu : MenuBar())
        for (const MenuEntry& e : menu.entries)
            if (e.id == id) {
                const std::string text = e.text;
                return text.substr(0, text.find('\t'));
            }
    return "";
}

} // namespace lumetra
