#include "data/ExactFields.h"
#include "data/FileContents.h"
#include "data/FileError.h"
#include "data/LineLimit.h"
#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "data/PairLines.h"
#include "data/SafeWrite.h"
#include "data/Utf8Text.h"
#include "fit/CurveModels.h"
#include "platform/BusyScope.h"
#include "platform/Ui.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>

namespace lumetra {
namespace {

constexpr int kHeaderLines = 8;

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The 1-based number of the line that holds position at.
int LineNumberAt(const char* data, const char* at) {
    int line = 1;
    for (const char* p = FindCrLf(data, at); p < at; p = FindCrLf(p + 2, at))
        ++line;
    return line;
}

// The text with a CR before every LF.
std::string WithCrLf(const char* data, size_t length) {
    std::string out;
    out.reserve(length + length / 16);
    for (const char *p = data, *end = data + length; p < end;) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* stop = lf ? lf : end;
        out.append(p, stop);
        if (!lf)
            break;
        out += "\r\n";
        p = lf + 1;
    }
    return out;
}

} // namespace

void CLumetraDoc::ShowReadProgress(const std::string& text, int percent) {
    if (text == "Ready") {
        m_pUi->SetStatusText(0, "Ready");
        m_pUi->SetStatusText(1, "");
    } else {
        m_pUi->SetStatusText(0, FormatC("Reading -> %s", {text}));
        m_pUi->SetStatusText(1, percent < 0 ? std::string()
                                            : FormatC("File %d %%processed", {percent}));
    }
    PumpMessagesUnderNormalCursor(*m_pUi);
}

bool CLumetraDoc::OnOpenDocument(const std::string& path) {
    OnNewDocument();
    // A save into this file that was killed may have left it part new and part old.
    const UnfinishedSave unfinished = RecoverUnfinishedSave(path);
    if (unfinished.state == UnfinishedSave::State::Refused) {
        m_pUi->MessageBox(unfinished.message, Ui::Buttons::Ok, Ui::Icon::Stop);
        ClearData();
        return false;
    }
    if (unfinished.state == UnfinishedSave::State::Restored)
        m_pUi->MessageBox(unfinished.message, Ui::Buttons::Ok, Ui::Icon::Information);

    size_t length = 0;
    const int fd = OpenForReading(path, length);
    if (fd == kNotRegularFile) {
        m_pUi->MessageBox(NotRegularFileMessage(path), Ui::Buttons::Ok, Ui::Icon::Stop);
        ClearData();
        return false;
    }
    if (fd < 0) {
        ReportSaveLoadException(*m_pUi, {FileErrorKindFromErrno(errno), path}, false,
                                "Failed to open document.");
        return false;
    }
    FdCloser closer(fd);

    const std::string name = BaseName(path);
    if (length == 0) {
        m_pUi->MessageBox(name + " is EMPTY!");
        m_bHasFile = 0;
        ClearData();
        return false;
    }

    // Every way out of the read, a failure or an exception from a command run by one of its
    // progress steps, lowers the flag and takes the cursor down.
    const BusyScope reading(*m_pUi, &m_bReading);
    SetModifiedFlag(true);
    m_bHasFile = 1;
    ShowReadProgress(name, 0);

    FileContents contents;
    switch (contents.Load(fd, length)) {
    case FileContents::Status::Ok:
        break;
    case FileContents::Status::OutOfMemory:
        return FailRead("Ran out of Memory reading File:\n" + path);
    case FileContents::Status::Changed:
        return FailRead(ChangedWhileReadMessage(path));
    case FileContents::Status::ReadError: {
        const int err = errno;
        ReportSaveLoadException(*m_pUi, {FileErrorKindFromErrno(err), path}, false,
                                "Failed to open document.");
        return FailRead("");
    }
    }
    return ReadBuffer(path, name, contents.data(), contents.size());
}

// The common ending of every failed read; an empty message shows nothing (already reported). The
// busy flag and the cursor go with the read's scope.
bool CLumetraDoc::FailRead(const std::string& message) {
    if (!message.empty())
        m_pUi->MessageBox(message, Ui::Buttons::Ok, Ui::Icon::Stop);
    m_pUi->SetStatusText(0, "Ready");
    m_pUi->SetStatusText(1, "");
    m_bHasFile = 0;
    ClearData();
    m_nPairs = 0;
    SetModifiedFlag(false);
    return false;
}

bool CLumetraDoc::ReadBuffer(const std::string& path, const std::string& name, const char* data,
                             size_t length) {
    // An editor may put a byte order mark before the "@" when the user retitles the file by hand.
    if (length >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
        data += 3;
        length -= 3;
    }
    // A copy through a tool that turned every CR LF into LF reads as the file it was.
    std::string withCrLf;
    if (FindCrLf(data, data + length) == data + length && std::memchr(data, '\n', length)) {
        try {
            withCrLf = WithCrLf(data, length);
        } catch (const std::bad_alloc&) {
            return FailRead("Ran out of Memory reading File:\n" + path);
        }
        data = withCrLf.data();
        length = withCrLf.size();
    }
    const char* const end = data + length;
    const char* eol = FindCrLf(data, end);
    if (eol == end)
        return FailRead("File " + path + ":\nis NOT a valid data file!\n");
    if (size_t(eol - data) > kMaxLineLen)
        return FailRead(LongLineMessage(path, true));
    const std::string tooLong = LongLineMessage(path, false);
    auto damaged = [&](const std::string& what) {
        return FailRead("File " + path + ":\nis damaged: " + what + "!\nStopping file read!");
    };
    auto notFinite = [](int fileLine) {
        return FormatC("line %d holds an infinite or undefined number", {fileLine});
    };

    // No text line holds a NUL; a file cut short by a crash is often padded with them.
    if (const void* nul = std::memchr(data, '\0', length))
        return damaged(FormatC("line %d holds a NUL character",
                               {LineNumberAt(data, static_cast<const char*>(nul))}));

    int coefLines = 0;
    int line = 0;
    // Shown values that overrule the exact ones stored beside them, told once the file is read.
    OverruledFields overruled;
    auto takeExact = [&](std::string_view rest, std::string_view field,
                         const CompiledFormat& format, double& value) {
        if (TakeExactField(rest, field, format, value) == FieldUse::Overruled)
            overruled.Add(size_t(line) + 1);
    };
    const CompiledFormat statistics(kStatisticsFormat);

    ReadProgress progress(length);
    m_nPairs = 0;
    const char* pos = data;
    for (; line < kHeaderLines + coefLines || line < kHeaderLines; pos = eol + 2, ++line) {
        eol = FindCrLf(pos, end);
        if (eol == end)
            return damaged(FormatC("its header ends after line %d", {line}));
        const size_t len = size_t(eol - pos) + 1;
        if (len > kMaxLineLen)
            return FailRead(tooLong);
        if (progress.AddLine(len))
            ShowReadProgress(name, progress.Percent());

        const char* p = pos;
        switch (line) {
        case 0:
            if (*pos != '@')
                return FailRead("File " + path + ": was NOT saved by this application!\n" +
                                "You may import data only thru the Data tab!\nStopping file read!");
            m_strDataTitle.assign(pos + 1, eol);
            break;
        case 1:
            m_strXTitle.assign(pos, eol);
            break;
        case 2:
            m_strYTitle.assign(pos, eol);
            break;
        case 3:
            if (!ScanInt(p, eol, m_nCurveType))
                return damaged("its curve type (line 4) is not a number");
            if (!FindCurveModel(m_nCurveType))
                return damaged(FormatC("its curve type (line 4) is %d, not 0 to %d",
                                       {m_nCurveType, int(CurveModels().size()) - 1}));
            break;
        case 4:
            if (!ScanInt(p, eol, m_nOrder))
                return damaged("its curve order (line 5) is not a number");
            if (m_nOrder < 1 || m_nOrder > kMaxOrder)
                return damaged(FormatC("its curve order (line 5) is %d, not 1 to 10", {m_nOrder}));
            coefLines = (m_nOrder < 2 ? 1 : m_nOrder) + 1;
            break;
        case 5:
            if (!(ScanDouble(p, eol, m_dSumAbsDiff) && ScanDouble(p, eol, m_dPerformance)))
                return damaged("its fit statistics (line 6) are not two numbers");
            if (!std::isfinite(m_dSumAbsDiff) || !std::isfinite(m_dPerformance))
                return damaged(notFinite(6));
            takeExact({p, eol}, "sum", statistics, m_dSumAbsDiff);
            takeExact({p, eol}, "performance", statistics, m_dPerformance);
            break;
        case 6:
            if (!(ScanDouble(p, eol, m_dXInt) && ScanDouble(p, eol, m_dYInt)))
                return damaged("its XINT and YINT (line 7) are not two numbers");
            if (!std::isfinite(m_dXInt) || !std::isfinite(m_dYInt))
                return damaged(notFinite(7));
            takeExact({p, eol}, "xint", statistics, m_dXInt);
            takeExact({p, eol}, "yint", statistics, m_dYInt);
            break;
        case 7:
            if (!(ScanInt(p, eol, m_nXDecimals) && ScanInt(p, eol, m_nYDecimals) &&
                  ScanInt(p, eol, m_bXFixed) && ScanInt(p, eol, m_bYFixed)))
                return damaged("its display settings (line 8) are not four numbers");
            if (m_nXDecimals < 0 || m_nXDecimals > kMaxDecimals || m_nYDecimals < 0 ||
                m_nYDecimals > kMaxDecimals)
                return damaged(FormatC("its decimal places (line 8) are %d and %d, not 0 to 14",
                                       {m_nXDecimals, m_nYDecimals}));
            // The exact values that follow are checked against the formats these settings give.
            BuildFormats();
            if (const std::string problem = ReadFitFields({p, eol}); !problem.empty())
                return damaged(problem);
            break;
        default: {
            double& coef = m_dCoef[line - kHeaderLines];
            if (!ScanDouble(p, eol, coef))
                return damaged(FormatC("its coefficient C[%d] (line %d) is not a number",
                                       {line - kHeaderLines + 1, line + 1}));
            if (!std::isfinite(coef))
                return damaged(notFinite(line + 1));
            takeExact({p, eol}, "c", CompiledFormat(m_szWideFormat), coef);
            break;
        }
        }
    }

    // The pair lines: first their ends, lengths and progress steps, then their numbers.
    const PairLinePlan plan = PlanPairLines(pos, end, progress);
    if (plan.tooLong)
        return FailRead(tooLong);
    const int nextLine = line + int(plan.lines) + 1;
    if (plan.lineEndInside)
        return damaged(FormatC("line %d holds a line end that is not CR LF", {nextLine}));
    if (plan.cutShort)
        return damaged(FormatC("its last line (line %d) is cut short", {nextLine}));
    const PairFieldFormats formats{CompiledFormat(m_szXFormat), CompiledFormat(m_szYFormat)};
    const size_t firstPairLine = size_t(line) + 1;
    PairLineNotes notes;
    if (!ReadPairLines(
            plan, m_pPairs, [&](int percent) { ShowReadProgress(name, percent); }, &formats,
            firstPairLine, notes))
        return FailRead("Ran out of Memory reading File:\n" + path);
    // Reading the mark as either value could put a pair into a fit it was taken out of, or out.
    if (notes.unknownExclusion.count > 0)
        return damaged(FormatC("line %d holds an exclusion mark (excluded=) that is not 1 or 0",
                               {(long long)notes.unknownExclusion.firstLine}));
    overruled.Add(notes.overruled);
    // inf and nan read like numbers, but no fit, report or plot can use them.
    for (size_t k = 0; k < m_pPairs.size(); ++k) {
        if (std::isnan(m_pPairs[k].m_dSigma))
            return damaged(FormatC("line %d holds a standard deviation that is not a number "
                                   "above 0",
                                   {line + int(k) + 1}));
        if (!m_pPairs[k].IsFinite())
            return damaged(notFinite(line + int(k) + 1));
    }
    if (!m_pPairs.empty()) {
        ResetExtremes(m_pPairs.front());
        for (const CXYdata& pair : m_pPairs)
            UpdateExtremes(pair);
    }

    ShowReadProgress("Ready", 0);
    BuildFormats();
    m_nPairs = int(m_pPairs.size());
    m_strFileName = path;
    SetPathName(path); // so File > Save writes here without asking
    SetModifiedFlag(false);
    if (overruled.count > 0)
        m_pUi->MessageBox(OverruledFieldsNote(path, overruled), Ui::Buttons::Ok,
                          Ui::Icon::Information);
    return true;
}

// The settings line's words after its four numbers: the fit method (classic when none is given),
// whether the fit failed, which a reopened document must know, and the weighting (none when none
// is given). A weighting this program does not know is named: the fit would differ without it.
std::string CLumetraDoc::ReadFitFields(std::string_view rest) {
    m_eFitMethod = FitMethodFromWord(FieldText(rest, "method")).value_or(FitMethod::Classic);
    if (FieldText(rest, "fit") == "failed") {
        m_bFitFailed = 1;
        m_strFitFailure = kCantFitCurve;
    }
    const std::string_view weights = FieldText(rest, "weights");
    const std::optional<WeightScheme> scheme =
        weights.empty() ? WeightScheme::None : WeightSchemeFromWord(weights);
    if (!scheme)
        return "its weighting (line 8) is \"" + std::string(Utf8Prefix(weights, 30)) +
               "\", which this application does not know";
    m_eWeights = *scheme;
    m_bSigmaAbsolute = FieldText(rest, "sigma") == "absolute" ? 1 : 0;
    return {};
}

} // namespace lumetra
