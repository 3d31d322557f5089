#include "data/FileError.h"
#include "data/LumetraDoc.h"
#include "platform/Ui.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetra {
namespace {

constexpr const char* kShortenAdvice = "Shorten the titles or choose exponent display.";

// The whole file as text, or the reason it must not be written: a line the reader would refuse,
// with what the user can do about it.
struct FileText {
    std::string text;
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

FileText ComposeFile(const CLumetraDoc& doc) {
    FileText out;
    std::string& t = out.text;
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
    t.reserve(200 + size_t(doc.m_nOrder + 1) * 20 + doc.m_pPairs.size() * 72);
    t += FormatC(
        "@%s\r\n%s\r\n%s\r\n%d\r\n%d\r\n",
        {doc.m_strDataTitle, doc.m_strXTitle, doc.m_strYTitle, doc.m_nCurveType, doc.m_nOrder});
    t += FormatC("%lf %lf\r\n%lf %lf\r\n%d %d %d %d\r\n",
                 {doc.m_dSumAbsDiff, doc.m_dPerformance, doc.m_dXInt, doc.m_dYInt, doc.m_nXDecimals,
                  doc.m_nYDecimals, doc.m_bXFixed, doc.m_bYFixed});
    const CompiledFormat coef(doc.m_szWideFormat + "\r\n");
    for (int k = 0; k < CoefficientCount(doc); ++k)
        coef.Append(t, {doc.m_dCoef[k]});
    const size_t headerEnd = t.size();
    for (const CXYdata& pair : doc.m_pPairs) {
        const size_t start = t.size();
        pair.FormatFileLine(t, doc);
        if (t.size() - start - 2 > size_t(kMaxFileLineChars)) {
            out.problem = "a data line would be longer than 1023 characters";
            return out;
        }
    }
    // The header lines are few; check them once the text is there.
    size_t lineStart = 0;
    while (lineStart < headerEnd) {
        const size_t eol = t.find("\r\n", lineStart);
        if (eol - lineStart > size_t(kMaxFileLineChars)) {
            out.problem = "a title or number line would be longer than 1023 characters";
            return out;
        }
        lineStart = eol + 2;
    }
    return out;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += size_t(put);
    }
    return true;
}

struct WriteResult {
    int err = 0;         // errno of the failure, 0 on success
    bool opened = false; // whether the new file could be made at all
};

// Writes the text to a new file beside the target and renames it over the target; on failure
// removes the new file.
WriteResult WriteBeside(const std::string& target, const std::string& text, mode_t mode) {
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = dir + "." + base + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return {errno, false};
    int err = 0;
    if (!WriteAll(fd, text) || ::fsync(fd) != 0)
        err = errno;
    if (::fchmod(fd, mode) != 0 && !err)
        err = errno;
    if (::close(fd) != 0 && !err)
        err = errno;
    if (!err && ::rename(temp.c_str(), target.c_str()) != 0)
        err = errno;
    if (err)
        ::unlink(temp.c_str());
    return {err, true};
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

// Writes beside the target and renames over it only when all was written, so a failed save
// never destroys the file the user had.
bool CLumetraDoc::OnSaveDocument(const std::string& path) {
    auto fail = [&](int err, const char* defaultText) {
        // When saving, a name that is not found can only be a directory that is not there.
        const FileErrorKind kind =
            err == ENOENT ? FileErrorKind::InvalidPath : FileErrorKindFromErrno(err);
        ReportSaveLoadException(*m_pUi, {kind, path}, true, defaultText);
        return false;
    };

    // Write through a link onto the file it names.
    std::string target = path;
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode))
            return fail(EISDIR, "Invalid filename.");
        if (::access(path.c_str(), W_OK) != 0)
            return fail(errno, "Invalid filename.");
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    } else if (path.empty() || path.back() == '/') {
        return fail(EINVAL, "Invalid filename.");
    }

    m_pUi->BeginWaitCursor();
    FileText file = ComposeFile(*this);
    if (!file.problem.empty()) {
        m_pUi->EndWaitCursor();
        m_pUi->MessageBox("File " + path + ":\nwas NOT saved: " + file.problem +
                          ",\nwhich this application could not read back!\n" + file.advice);
        return false;
    }
    const WriteResult written =
        WriteBeside(target, file.text, exists ? (st.st_mode & 07777) : NewFileMode());
    m_pUi->EndWaitCursor();
    if (written.err)
        return fail(written.err, written.opened ? "Failed to save document." : "Invalid filename.");

    SetModifiedFlag(false);
    m_strFileName = path;
    SetPathName(path); // so File > Save writes here without asking
    RememberDirectory(path);
    return true;
}

} // namespace lumetra
