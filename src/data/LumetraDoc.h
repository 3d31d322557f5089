#pragma once

#include "data/DocumentHistory.h"
#include "data/NumberFormat.h"
#include "data/XYdata.h"
#include "fit/FitLimits.h"
#include "fit/FitMethod.h"
#include "fit/Weights.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

class Ui;
class SettingsStore;
struct FitState;
struct InfluenceOutcome;

inline constexpr const char* kUnNamedFile = "UnNamed File";
inline constexpr int kMaxDecimals = 14;
inline constexpr const char* kCantFitCurve = "Can't Fit the Curve";

// The directory the program remembers for a data file's path: its folder, "/" for a file in the
// root; nothing for a name without a folder.
std::optional<std::string> DirectoryToRemember(const std::string& path);

// The data set of one open document and everything that belongs to it. A plain holder of public
// state: views, pages and the fit read and write the members directly.
class CLumetraDoc {
public:
    CLumetraDoc(Ui& ui, SettingsStore& settings);
    CLumetraDoc(const CLumetraDoc&) = delete;
    CLumetraDoc& operator=(const CLumetraDoc&) = delete;

    // Busy and state flags.
    int m_bClosing = 0;
    int m_bBuildingReport = 0;
    int m_bHasFile = 0;
    int m_bFitting = 0;
    int m_bReading = 0;

    // Names and paths.
    std::string m_strFileName = kUnNamedFile;
    std::string m_strLastPath;
    std::string m_strWorkXTitle = "X";
    std::string m_strWorkYTitle = "Y";

    // Report listing state.
    std::vector<std::string> m_pReportLines;
    int m_nBorder = 3;
    int m_nLineCount = 0;
    int m_nPageCount = 0;
    int m_nLinesPerPage = 55;
    int m_nMaxLineLen = 100;

    // Display formats, rebuilt by BuildFormats.
    std::string m_szPairFormat;
    std::string m_szRowFormat;
    std::string m_szXFormat;
    std::string m_szYFormat;
    std::string m_szWideFormat;

    // Titles, data and curve settings.
    std::string m_strDataTitle;
    std::string m_strXTitle = "X";
    std::string m_strYTitle = "Y";
    std::vector<CXYdata> m_pPairs;
    int m_nCurveType = 0;
    int m_nPairs = 0;
    int m_nOrder = 1;

    // Number display settings.
    int m_bXFixed = 1;
    int m_nXWidth = 16;
    int m_nXDecimals = 5;
    int m_bYFixed = 1;
    int m_nYWidth = 16;
    int m_nYDecimals = 5;

    // Fit result.
    double m_dCoef[kMaxCoefs] = {};
    double m_dPerformance = 0.0;
    double m_dSumAbsDiff = 0.0;
    double m_dXInt = 0.0;
    double m_dMaxX = 0.0;
    double m_dMinX = 0.0;
    double m_dYInt = 0.0;
    double m_dMaxY = 0.0;
    double m_dMinY = 0.0;
    // Why the last fit failed (the first line of its message); empty after a fit that succeeded.
    // A file keeps only that its fit failed: it reads back as kCantFitCurve.
    std::string m_strFitFailure;

    // The fit method (the user's choice, remembered in the settings) and what the last fit left
    // for its statistics: whether it failed, the digits its classic coefficients kept (-1: not
    // known, as after reading a file) and its fit state, which every derived number reads. A file
    // as read has no state until one is asked for (DocumentFitState builds and keeps it then);
    // it is never stored in the file.
    FitMethod m_eFitMethod = FitMethod::Classic;
    // How the fit weighs the pairs, and whether their standard deviations are known in absolute
    // terms (the covariance is then not scaled by the residual variance).
    WeightScheme m_eWeights = WeightScheme::None;
    int m_bSigmaAbsolute = 0;
    int m_bFitFailed = 0;
    double m_dClassicDigits = -1.0;
    mutable std::shared_ptr<const FitState> m_pFitState;
    // The influence measures of a fit, made when first asked for (the residual plot asks at
    // every paint) and kept with the state they were made from.
    mutable std::shared_ptr<const InfluenceOutcome> m_pInfluence;
    mutable std::shared_ptr<const FitState> m_pInfluenceFit;

    // Edit > Undo and Redo of the changes the Options sheet kept; it goes with the document.
    DocumentHistory m_history;
    // An Options sheet is open on the document: Undo and Redo wait.
    int m_bSheetOpen = 0;

    // The framework's part of a document.
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    const std::string& GetPathName() const { return m_strPathName; }
    // The framework's path, and the title that names the document: its file name.
    void SetPathName(const std::string& path);
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }
    Ui& GetUi() const { return *m_pUi; }
    SettingsStore& GetSettings() const { return *m_pSettings; }

    void BuildFormats();
    void ClearData();
    // The extremes rule: the first pair sets all four, later ones move a maximum only when
    // strictly greater and a minimum only when strictly smaller.
    void ResetExtremes(const CXYdata& first);
    void UpdateExtremes(const CXYdata& pair);

    // Life cycle and file (DocumentFile.cpp, DocumentLifecycle.cpp).
    bool OnNewDocument();
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    void ShowReadProgress(const std::string& text, int percent);
    // Remembers the directory of a chosen or written data file in m_strLastPath and the
    // "Preferences"/"LastPath" setting.
    void RememberDirectory(const std::string& path);
    // The start-up choice's dialog: the chosen file, or "" when the user wants new data.
    std::string PromptForDataFile();
    // The close guard: false keeps the document open.
    bool SaveModified();
    // File > Save (saveAs false) and File > Save As: asks for a name when there is none.
    bool DoSave(bool saveAs);

    static bool ValidateNumber(Ui& ui, std::string& text);

    // Parsed forms of the row and pair formats, kept beside the texts for speed.
    const CompiledFormat& RowFormat() const { return m_rowFormat; }
    const CompiledFormat& PairFormat() const { return m_pairFormat; }

private:
    bool ReadBuffer(const std::string& path, const std::string& name, const char* data,
                    size_t length);
    bool FailRead(const std::string& message);
    std::string ReadFitFields(std::string_view rest);
    std::string NamedData() const;

    Ui* m_pUi;
    SettingsStore* m_pSettings;
    bool m_bModified = false;
    std::string m_strPathName;
    std::string m_strTitle;
    CompiledFormat m_rowFormat{""};
    CompiledFormat m_pairFormat{""};
};

} // namespace lumetra
