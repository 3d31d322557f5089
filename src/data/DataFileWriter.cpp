#include "data/ExactFields.h"
#include "data/FileError.h"
#include "data/LineLimit.h"
#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "data/SafeWrite.h"
#include "platform/BusyScope.h"
#include "platform/Ui.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <new>

namespace lumetra {
namespace {

constexpr const char* kShortenAdvice = "Shorten the titles or choose exponent display.";
constexpr const char* kOutOfMemory = "Out of Memory!\nSHUT DOWN APPLICATION NOW!";
// The file goes out through a buffer of this size, so a save needs little memory beyond the
// document's own.
constexpr size_t kChunkBytes = 1 << 20;

// The header lines and coefficients, or the reason the file must not be written: a line the
// reader would refuse, with what the user can do about it.
struct FileText {
    std::string header;
    std::string problem;
    const char* advice = kShortenAdvice;
};

int CoefficientCount(const CLumetraDoc& doc) {
    return doc.m_nOrder < 0 ? 0 : doc.m_nOrder >= kMaxCoefs ? kMaxCoefs : doc.m_nOrder + 1;
}

// inf and nan would be written as words no fit or plot can use.
bool AllFinite(const CLumetraDoc& doc) {
    for (double v : {doc.m_dSumAbsDiff, doc.m_dPerformance, doc.m_dXInt, doc.m_dYInt})
        if (!std::isfinite(v))
            return false;
    for (int k = 0; k < CoefficientCount(doc); ++k)
        if (!std::isfinite(doc.m_dCoef[k]))
            return false;
    for (const CXYdata& pair : doc.m_pPairs)
        if (!pair.IsFinite())
            return false;
    return true;
}

// A pair line can pass the limit only when a field shows a huge number in fixed form: a field
// of a number below 1e100 holds a sign, at most 100 digits, the point and the decimals.
class PairLineBound {
public:
    explicit PairLineBound(const CLumetraDoc& doc) {
        size_t field = 0;
        for (int width : {doc.m_nXWidth, doc.m_nYWidth})
            field = std::max(field, size_t(std::max(width, 0)));
        for (int decimals : {doc.m_nXDecimals, doc.m_nYDecimals})
            field = std::max(field, 102 + size_t(std::max(decimals, 0)));
        // The exact X and Y, the standard deviation and the exclusion mark.
        m_bShortBelowHuge =
            4 * field + 3 + 3 * kExactFieldRoom + kExclusionFieldRoom <= kMaxLineChars;
    }
    bool SurelyShort(const CXYdata& p) const {
        return m_bShortBelowHuge && std::fabs(p.m_dX) < 1e100 && std::fabs(p.m_dY) < 1e100 &&
               std::fabs(p.m_dComputed) < 1e100 && std::fabs(p.m_dDifference) < 1e100;
    }

private:
    bool m_bShortBelowHuge;
};

// A line of numbers, each printed with `format` and separated by blanks, then the exact value
// of each whose printed text does not read back to it, then CR LF.
void AppendNumberLine(std::string& out, const CompiledFormat& format,
                      std::initializer_list<std::pair<const char*, double>> numbers) {
    std::vector<double> shown;
    for (const auto& [name, value] : numbers) {
        if (!shown.empty())
            out += ' ';
        const size_t start = out.size();
        format.Append(out, {value});
        shown.push_back(TextToDouble(std::string_view(out).substr(start)));
    }
    auto shownValue = shown.begin();
    for (const auto& [name, value] : numbers)
        AppendExactField(out, name, *shownValue++, value);
    out += "\r\n";
}

// Everything is checked before the file is touched.
FileText ComposeHeader(const CLumetraDoc& doc) {
    FileText out;
    std::string& t = out.header;
    for (const std::string* title : {&doc.m_strDataTitle, &doc.m_strXTitle, &doc.m_strYTitle})
        if (title->find_first_of("\r\n") != std::string::npos) {
            out.problem = "a title holds a line break";
            out.advice = "Put each title on one line.";
            return out;
        }
    if (!AllFinite(doc)) {
        out.problem = "a number is infinite or undefined";
        out.advice = "Correct the data and fit the curve again.";
        return out;
    }
    const PairLineBound bound(doc);
    std::string line;
    for (const CXYdata& pair : doc.m_pPairs) {
        if (bound.SurelyShort(pair))
            continue;
        line.clear();
        pair.FormatFileLine(line, doc);
        if (line.size() - 2 > kMaxLineChars) {
            out.problem =
                FormatC("a data line would be longer than %d characters", {int(kMaxLineChars)});
            return out;
        }
    }
    t += FormatC(
        "@%s\r\n%s\r\n%s\r\n%d\r\n%d\r\n",
        {doc.m_strDataTitle, doc.m_strXTitle, doc.m_strYTitle, doc.m_nCurveType, doc.m_nOrder});
    const CompiledFormat statistics(kStatisticsFormat);
    AppendNumberLine(t, statistics,
                     {{"sum", doc.m_dSumAbsDiff}, {"performance", doc.m_dPerformance}});
    AppendNumberLine(t, statistics, {{"xint", doc.m_dXInt}, {"yint", doc.m_dYInt}});
    t += FormatC("%d %d %d %d", {doc.m_nXDecimals, doc.m_nYDecimals, doc.m_bXFixed, doc.m_bYFixed});
    if (doc.m_eFitMethod != FitMethod::Classic)
        t += "\tmethod=" + std::string(FitMethodWord(doc.m_eFitMethod));
    if (doc.m_bFitFailed)
        t += "\tfit=failed";
    if (doc.m_eWeights != WeightScheme::None)
        t += "\tweights=" + std::string(WeightSchemeWord(doc.m_eWeights));
    if (doc.m_bSigmaAbsolute)
        t += "\tsigma=absolute";
    t += "\r\n";
    const CompiledFormat coef(doc.m_szWideFormat);
    for (int k = 0; k < CoefficientCount(doc); ++k)
        AppendNumberLine(t, coef, {{"c", doc.m_dCoef[k]}});
    for (size_t lineStart = 0; lineStart < t.size();) {
        const size_t eol = t.find("\r\n", lineStart);
        if (eol - lineStart > kMaxLineChars) {
            out.problem = FormatC("a title or number line would be longer than %d characters",
                                  {int(kMaxLineChars)});
            return out;
        }
        lineStart = eol + 2;
    }
    return out;
}

// Writes the header and then the pairs a chunk at a time through the given buffer.
int WriteContent(int fd, const CLumetraDoc& doc, const std::string& header, std::string& chunk) {
    try {
        chunk = header;
        for (const CXYdata& pair : doc.m_pPairs) {
            pair.FormatFileLine(chunk, doc);
            if (chunk.size() >= kChunkBytes) {
                if (!WriteAll(fd, chunk.data(), chunk.size()))
                    return errno;
                chunk.clear();
            }
        }
        return WriteAll(fd, chunk.data(), chunk.size()) ? 0 : errno;
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

} // namespace

// A failed save never destroys the file the user had (see SaveFile).
bool CLumetraDoc::OnSaveDocument(const std::string& path) {
    BusyScope writing(*m_pUi);
    FileText file;
    std::string chunk;
    try {
        file = ComposeHeader(*this);
        chunk.reserve(kChunkBytes + 2 * kMaxLineLen);
    } catch (const std::bad_alloc&) {
        writing.End();
        m_pUi->MessageBox(kOutOfMemory);
        return false;
    }
    if (!file.problem.empty()) {
        writing.End();
        m_pUi->MessageBox(NotSavedMessage(path, file.problem +
                                                    ",\nwhich this application could not read "
                                                    "back!\n" +
                                                    file.advice));
        return false;
    }
    const SaveResult written =
        SaveFile(path, [&](int fd) { return WriteContent(fd, *this, file.header, chunk); });
    writing.End();
    if (!written.refusal.empty()) {
        m_pUi->MessageBox(NotSavedMessage(path, written.refusal));
    } else if (written.err == ENOMEM) {
        m_pUi->MessageBox(kOutOfMemory);
    } else if (written.err) {
        // When saving, a name that is not found can only be a directory that is not there.
        const FileErrorKind kind = written.err == ENOENT ? FileErrorKind::InvalidPath
                                                         : FileErrorKindFromErrno(written.err);
        ReportSaveLoadException(*m_pUi, {kind, path}, true,
                                written.opened ? "Failed to save document." : "Invalid filename.");
    }
    if (!written.keptCopy.empty())
        m_pUi->MessageBox(KeptCopyMessage(path, written.keptCopy));
    if (!written.Saved())
        return false;

    SetModifiedFlag(false);
    m_history.MarkSaved();
    m_strFileName = path;
    SetPathName(path); // so File > Save writes here without asking
    RememberDirectory(path);
    return true;
}

} // namespace lumetra
