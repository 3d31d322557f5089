#pragma once

#include <string>
#include <string_view>

namespace lumetra {

class CLumetraDoc;

// Lines a report keeps; the one line after them is the line-limit note.
inline constexpr int kReportLineLimit = 128000;
inline constexpr const char* kLineLimitNote = "**** Application line limit reached! ****";
// The end of an excluded pair's row, and the line after the table that says what it means.
inline constexpr const char* kExcludedMark = " (excluded)";
inline constexpr const char* kExcludedNote =
    "         (excluded): left out of the fit; the row shows the curve at its input.";

// What the listing view is told while a report changes. The builder knows no widgets; the view
// refers to the document's lines by index, since the line list moves its strings as it grows.
class ReportListener {
public:
    virtual ~ReportListener() = default;
    // Line `index` of m_pReportLines lies on the first display page and is to be shown.
    virtual void OnLineShown(int index) = 0;
    // Every shown line is to be forgotten; the lines are freed right after this call.
    virtual void OnShownListEmptied() = 0;
    // The horizontal scroll extent is to cover this many average character widths.
    virtual void OnHorizontalExtent(int chars) = 0;
};

// The report's note on a failed fit, also shown in the status bar: "Fit Failed:  " and why.
std::string FitFailureNote(const CLumetraDoc& doc);

// After a save under a name: the report's "Data File:" line names the file, without a rebuild.
void ShowNewFileName(CLumetraDoc& doc);

// Number of display pages of `lineCount` lines at `linesPerPage` lines a page; at least 1.
int DisplayPageCount(int lineCount, int linesPerPage);

// The listing view's report state for one document and the building of its report text.
// Status texts, pumping and the wait cursor all go through the document's Ui.
class ReportBuilder {
public:
    // A null listener is allowed: nothing is shown (lumetra-cli).
    ReportBuilder(CLumetraDoc& doc, int linesPerDisplayPage, ReportListener* listener = nullptr);
    ReportBuilder(const ReportBuilder&) = delete;
    ReportBuilder& operator=(const ReportBuilder&) = delete;

    void BuildReport();
    void AddReportLine(std::string_view text);
    void ClearReport();
    void ShowBuildProgress(const std::string& fileName, int percent);
    void PumpMessages();

    int m_bLimitNotePending = 1;
    int m_bBuilding = 0;
    int m_nCurPage = 1;
    int m_nDisplayPages = 1;
    const int m_nLinesPerDisplayPage;

private:
    bool StoreLine(std::string_view text);
    void AddHeader(size_t excluded);
    void AddCoefficientLines(int count);

    CLumetraDoc& m_doc;
    ReportListener* m_pListener;
    // A line of the present build was lost for want of memory.
    bool m_bLineLost = false;
};

} // namespace lumetra
