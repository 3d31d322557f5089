#pragma once

// The command ids of menus, accelerators and toolbar buttons.
namespace lumetra::cmd {

inline constexpr int kAppSynopsis = 32771;
inline constexpr int kOptionsData = 32774;
inline constexpr int kHelpContents = 32775;
inline constexpr int kOptionsCompute = 32776;
inline constexpr int kNewListWindow = 32778;
inline constexpr int kNewPlotWindow = 32779;
inline constexpr int kZoomPlot = 32781;
inline constexpr int kNextPage = 32782;
inline constexpr int kPrevPage = 32783;
inline constexpr int kGoToPage = 32784;
inline constexpr int kExportPlot = 32785;
inline constexpr int kStatisticsWindow = 32790;
inline constexpr int kCopyPlot = 32786;
inline constexpr int kExportTable = 32787;
inline constexpr int kConfidenceBand = 32791;
inline constexpr int kPredictionBand = 32792;
inline constexpr int kResidualPlot = 32793;
inline constexpr int kLogXAxis = 32794;
inline constexpr int kLogYAxis = 32795;
inline constexpr int kLogAxesForLogModels = 32796;
inline constexpr int kReadableAxes = 32797;
inline constexpr int kFitToWindow = 32798;
inline constexpr int kMoreWindows = 32799;
inline constexpr int kImportText = 32800;
inline constexpr int kCloseWindow = 32801;
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
// Printing without the dialog, as the desktop shell and "lumetra --print" ask for it.
inline constexpr int kFilePrintDirect = 57608;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kRecentFile1 = 57616;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditSelectAll = 57642;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kArrangeIcons = 57649;
inline constexpr int kCascade = 57650;
inline constexpr int kTile = 57651;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
// F1: the help topic of the window or page in front.
inline constexpr int kHelpTopic = 57670;
inline constexpr int kNextWindow = 57680;
inline constexpr int kPrevWindow = 57681;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
// The Window menu's list of open windows: the first, second, ... window.
inline constexpr int kWindowFirst = 65280;
inline constexpr int kWindowListSize = 9;

} // namespace lumetra::cmd
