#include "report/ReportBuilder.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "data/NumberScan.h"
#include "data/Utf8Text.h"
#include "fit/CurveModels.h"
#include "fit/FitEngine.h"
#include "fit/FitPairs.h"
#include "fit/FitStatistics.h"
#include "fit/FitWeights.h"
#include "platform/BusyScope.h"
#include "platform/Ui.h"

#include <algorithm>
#include <new>

namespace lumetra {
namespace {

constexpr std::string_view kRule =
    "--------------------------------------------------------------------------------";
constexpr size_t kTitleRoom = 19;
// Room for the longest header: model 1 with order 10, and both notes.
constexpr size_t kMaxHeaderLines = 35;

// One 21-character column heading with the title centred in it, counted in characters.
std::string TitleCell(std::string_view title) {
    const std::string_view cell = "|-------------------|";
    const std::string_view shown = Utf8Prefix(title, kTitleRoom);
    const size_t len = Utf8Length(shown);
    const size_t i = (kTitleRoom - len) / 2;
    std::string out(cell.substr(0, i));
    out.append(" ").append(shown).append(" ").append(cell.substr(i + len + 2));
    return out;
}

// Digits from the first nonzero one to the end of the mantissa: "-0.00012" shows 2,
// "1.23450E+003" 6, "0.00000" none.
int SignificantDigitsShown(std::string_view number) {
    int digits = 0;
    for (char c : number) {
        if (c == 'E' || c == 'e')
            break;
        if (c >= '1' && c <= '9')
            ++digits;
        else if (c == '0' && digits > 0)
            ++digits;
    }
    return digits;
}

// The fewest digits that read back to the value, in the report's number style (1.5E-007).
std::string FullValueText(double value) {
    std::string text;
    for (int digits = 1; digits <= 17; ++digits) {
        text = FormatC(FormatC("%%.%dG", {digits}), {value});
        if (TextToDouble(text) == value)
            break;
    }
    return text;
}

// A coefficient shown with fewer than six significant digits, as the display settings print it,
// gets its full value behind it, so that the curve can be written down from the report.
void AppendFullValue(std::string& line, std::string_view shown, double value) {
    if (value == 0.0 || SignificantDigitsShown(shown) >= 6 || TextToDouble(shown) == value)
        return;
    if (line.empty() || line.back() != ' ')
        line += ' ';
    line += "(full value " + FullValueText(value) + ")";
}

} // namespace

std::string FitFailureNote(const CLumetraDoc& doc) {
    return "Fit Failed:  " + doc.m_strFitFailure;
}

int DisplayPageCount(int lineCount, int linesPerPage) {
    if (lineCount <= linesPerPage)
        return 1;
    return (lineCount + linesPerPage - 1) / linesPerPage;
}

ReportBuilder::ReportBuilder(CLumetraDoc& doc, int linesPerDisplayPage, ReportListener* listener)
    : m_nLinesPerDisplayPage(linesPerDisplayPage), m_doc(doc), m_pListener(listener) {}

void ReportBuilder::PumpMessages() {
    PumpMessagesUnderNormalCursor(m_doc.GetUi());
}

void ReportBuilder::ShowBuildProgress(const std::string& fileName, int percent) {
    Ui& ui = m_doc.GetUi();
    if (percent < 100) {
        ui.SetStatusText(0, FormatC("Building Data Page %d for %s", {m_nCurPage, fileName}));
        ui.SetStatusText(1, percent < 0 ? std::string() : FormatC("%d %%processed", {percent}));
    } else {
        ui.SetStatusText(0, "Ready");
        ui.SetStatusText(1, "");
    }
    ui.SetStatusText(2, "");
    PumpMessages();
}

bool ReportBuilder::StoreLine(std::string_view text) {
    try {
        m_doc.m_pReportLines.emplace_back(text);
    } catch (const std::bad_alloc&) {
        m_doc.GetUi().MessageBox("Memory Limit Reached!", Ui::Buttons::Ok, Ui::Icon::Exclamation);
        m_bLineLost = true;
        return false;
    }
    return true;
}

void ReportBuilder::AddReportLine(std::string_view text) {
    // A shortage lasts: the line it lost ends the build, whose other lines go without a message
    // each.
    if (m_bBuilding && m_bLineLost)
        return;
    if (m_doc.m_nLineCount < kReportLineLimit) {
        if (!StoreLine(text))
            return;
        m_doc.m_nMaxLineLen = std::max(m_doc.m_nMaxLineLen, int(text.size()));
        ++m_doc.m_nLineCount;
        if (m_pListener && m_doc.m_nLineCount <= m_nLinesPerDisplayPage)
            m_pListener->OnLineShown(m_doc.m_nLineCount - 1);
    } else if (m_bLimitNotePending && StoreLine(kLineLimitNote)) {
        m_bLimitNotePending = 0;
        ++m_doc.m_nLineCount;
    }
}

void ReportBuilder::ClearReport() {
    Ui& ui = m_doc.GetUi();
    const BusyScope wait(ui);
    ui.SetStatusText(0, "Clearing Old Display...");
    ui.SetStatusText(1, "");
    ui.SetStatusText(2, "");
    PumpMessages();
    // The shown items refer to the lines, so they go first.
    if (m_pListener)
        m_pListener->OnShownListEmptied();
    m_doc.m_pReportLines.clear();
    m_doc.m_nLineCount = 0;
    PumpMessages();
}

void ShowNewFileName(CLumetraDoc& doc) {
    const std::string_view label = "         Data File:   ";
    std::vector<std::string>& lines = doc.m_pReportLines;
    if (lines.size() > 2 && std::string_view(lines[2]).substr(0, label.size()) == label)
        lines[2] = FormatC("         Data File:   %s", {doc.m_strFileName});
}

void ReportBuilder::AddCoefficientLines(int count) {
    const CompiledFormat line(FormatC("              C[%%d] = %s", {m_doc.m_szWideFormat}));
    const CompiledFormat shown(m_doc.m_szWideFormat);
    count = std::min(count, kMaxCoefs);
    for (int k = 1; k <= count; ++k) {
        const double coef = m_doc.m_dCoef[k - 1];
        std::string text = line.Format({k, coef});
        AppendFullValue(text, shown.Format({coef}), coef);
        AddReportLine(text);
    }
}

void ReportBuilder::AddHeader(size_t excluded) {
    const CLumetraDoc& doc = m_doc;
    AddReportLine(kRule);
    AddReportLine(FormatC("         Data Title:  %s", {doc.m_strDataTitle}));
    AddReportLine(FormatC("         Data File:   %s", {doc.m_strFileName}));
    AddReportLine(kRule);
    // Zero coefficients and differences must not read as a perfect fit.
    if (!doc.m_strFitFailure.empty()) {
        AddReportLine("         " + FitFailureNote(doc));
        AddReportLine(kRule);
    }
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    if (model) {
        AddReportLine(FormatC("         Curve Type:  %s", {model->caption}));
        if (model->usesOrder)
            AddReportLine(FormatC("         Curve Order: %d", {doc.m_nOrder}));
    }
    if (doc.m_eWeights != WeightScheme::None)
        AddReportLine("         Weighting:   " + WeightingText(doc));
    if (excluded > 0)
        AddReportLine(FormatC("         Excluded from the fit: %d of %d pairs",
                              {(long long)excluded, (long long)doc.m_pPairs.size()}));
    AddReportLine(kRule);
    AddReportLine(FormatC(model && model->xFromY ? "         Sum of Absolute (X-XComp): %E"
                                                 : "         Sum of Absolute (Y-YComp): %E",
                          {doc.m_dSumAbsDiff}));
    AddReportLine(FormatC("         Fit Coefficient of Performance: %7.4lf", {doc.m_dPerformance}));
    if (doc.m_strFitFailure.empty() && doc.m_dPerformance == 1.0 && MeasuredValuesAllEqual(doc))
        AddReportLine(model && model->xFromY
                          ? "         All measured X values are equal: the coefficient is 1 by "
                            "definition."
                          : "         All measured Y values are equal: the coefficient is 1 by "
                            "definition.");
    AddReportLine(kRule);
    AddReportLine("         Fitted Curve:");
    if (model) {
        for (const std::string& line :
             model->equationLines({doc.m_dCoef, doc.m_nOrder, doc.m_dXInt, doc.m_dYInt}))
            AddReportLine(line);
        AddCoefficientLines(CoefficientCount(*model, doc.m_nOrder));
    }
    AddReportLine(" ");
    AddReportLine(FormatC("%s\t%s\t|- Computed Value --|\t|--- Difference ----|",
                          {TitleCell(doc.m_strXTitle), TitleCell(doc.m_strYTitle)}));
}

void ReportBuilder::BuildReport() {
    CLumetraDoc& doc = m_doc;
    // The flags go down and the cursor back on every way out: the end, a close, an exception.
    BusyScope header(doc.m_bBuildingReport);
    m_nCurPage = 1;
    m_bLimitNotePending = 1; // every report cut at the limit says so
    m_bLineLost = false;
    if (!doc.m_pReportLines.empty())
        ClearReport();

    BusyScope building(m_bBuilding);
    const BusyScope wait(doc.GetUi());
    ShowBuildProgress(doc.m_strFileName, 0);
    try {
        doc.m_pReportLines.reserve(
            std::min(doc.m_pPairs.size() + kMaxHeaderLines, size_t(kReportLineLimit) + 1));
    } catch (const std::bad_alloc&) {
        // The first line that fails then says so and ends the build.
    }
    const size_t excluded = ExcludedPairCount(doc);
    AddHeader(excluded);
    header.End();

    const size_t step = doc.m_pPairs.size() / 10;
    const bool showProgress = step > 10;
    size_t threshold = step;
    int percent = 0;
    std::string row;
    for (size_t k = 0; k < doc.m_pPairs.size() && !m_bLineLost; ++k) {
        if (doc.m_bClosing) {
            building.KeepFlagUp();
            return;
        }
        // Rows past the limit would be formatted only to be dropped: the note ends the table.
        if (doc.m_nLineCount >= kReportLineLimit) {
            AddReportLine(kLineLimitNote);
            break;
        }
        row.clear();
        doc.m_pPairs[k].FormatRow(row, doc);
        if (doc.m_pPairs[k].m_bExcluded)
            row += kExcludedMark;
        AddReportLine(row);
        if (showProgress && k > threshold) {
            percent += 10;
            threshold += step;
            ShowBuildProgress(doc.m_strFileName, percent);
        }
    }
    if (excluded > 0 && !m_bLineLost && doc.m_nLineCount < kReportLineLimit)
        AddReportLine(kExcludedNote);
    // After the table, so every line before it reads as in any other report.
    if (NeedsPrecisionWarning(doc))
        AddReportLine(PrecisionNoteLine(doc.m_dClassicDigits));

    if (m_pListener)
        m_pListener->OnHorizontalExtent(doc.m_nMaxLineLen);
    building.End();
    ShowBuildProgress(doc.m_strFileName, 110);
    if (!doc.m_strFitFailure.empty())
        doc.GetUi().SetStatusText(0, FitFailureNote(doc));
    m_nDisplayPages = DisplayPageCount(doc.m_nLineCount, m_nLinesPerDisplayPage);
}

} // namespace lumetra
