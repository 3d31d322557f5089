#include "data/FileError.h"
#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "platform/Ui.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetra {
namespace {

constexpr size_t kProgressCap = 10000000;
constexpr size_t kMaxLineLen = 1024; // characters of a line plus one
constexpr int kHeaderLines = 8;

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Finds the next CR LF at or after p; returns end when there is none.
const char* FindCrLf(const char* p, const char* end) {
    while (p < end) {
        const void* cr = std::memchr(p, '\r', size_t(end - p));
        if (!cr)
            return end;
        const char* c = static_cast<const char*>(cr);
        if (c + 1 < end && c[1] == '\n')
            return c;
        p = c + 1;
    }
    return end;
}

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() {
        if (m_fd >= 0)
            ::close(m_fd);
    }

private:
    int m_fd;
};

// Reads up to length bytes and ends them with two zero bytes; false with errno set on failure.
bool ReadAll(int fd, char* buffer, size_t& length) {
    size_t done = 0;
    while (done < length) {
        ssize_t got = ::read(fd, buffer + done, length - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break; // the file shrank since its length was taken: read what is there
        done += size_t(got);
    }
    length = done;
    buffer[done] = buffer[done + 1] = 0;
    return true;
}

} // namespace

void CLumetraDoc::ShowReadProgress(const std::string& text, int percent) {
    m_pUi->EndWaitCursor();
    if (text == "Ready") {
        m_pUi->SetStatusText(0, "Ready");
        m_pUi->SetStatusText(1, "");
    } else {
        m_pUi->SetStatusText(0, FormatC("Reading -> %s", {text}));
        m_pUi->SetStatusText(1, percent < 0 ? std::string()
                                            : FormatC("File %d %%processed", {percent}));
    }
    m_pUi->PumpMessages();
    m_pUi->BeginWaitCursor();
}

bool CLumetraDoc::OnOpenDocument(const std::string& path) {
    OnNewDocument();

    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = fd < 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : errno;
        if (fd >= 0)
            ::close(fd);
        ReportSaveLoadException(*m_pUi, {FileErrorKindFromErrno(err), path}, false,
                                "Failed to open document.");
        return false;
    }
    FdCloser closer(fd);

    const std::string name = BaseName(path);
    const size_t length = size_t(st.st_size);
    if (length == 0) {
        m_pUi->MessageBox(name + " is EMPTY!");
        m_bHasFile = 0;
        ClearData();
        return false;
    }

    m_bReading = 1;
    SetModifiedFlag(true);
    m_bHasFile = 1;
    m_pUi->BeginWaitCursor(); // before the first progress step, which restarts it
    ShowReadProgress(name, 0);

    std::unique_ptr<char[]> buffer;
    try {
        buffer.reset(new char[length + 2]);
    } catch (const std::bad_alloc&) {
        return FailRead("Ran out of Memory reading File:\n" + path);
    }
    size_t got = length;
    if (!ReadAll(fd, buffer.get(), got)) {
        const int err = errno;
        buffer.reset();
        m_pUi->EndWaitCursor();
        ReportSaveLoadException(*m_pUi, {FileErrorKindFromErrno(err), path}, false,
                                "Failed to open document.");
        m_pUi->BeginWaitCursor();
        return FailRead("");
    }
    return ReadBuffer(path, name, buffer.get(), got);
}

// The common ending of every failed read; an empty message shows nothing (already reported).
bool CLumetraDoc::FailRead(const std::string& message) {
    m_pUi->EndWaitCursor();
    if (!message.empty())
        m_pUi->MessageBox(message, Ui::Buttons::Ok, Ui::Icon::Stop);
    m_pUi->SetStatusText(0, "Ready");
    m_pUi->SetStatusText(1, "");
    m_bHasFile = 0;
    ClearData();
    m_nPairs = 0;
    m_bReading = 0;
    SetModifiedFlag(false);
    return false;
}

bool CLumetraDoc::ReadBuffer(const std::string& path, const std::string& name, const char* data,
                             size_t length) {
    const char* const end = data + length;
    const char* eol = FindCrLf(data, end);
    if (eol == end)
        return FailRead("File " + path + ":\nis NOT a valid data file!\n");
    if (size_t(eol - data) > kMaxLineLen)
        return FailRead("File " + path + ":\n contains lines longer than " + "1024" +
                        " characters\nwhich is this application's max!\n");

    const size_t base = length < kProgressCap ? length : kProgressCap;
    const size_t step = base / 20;
    size_t threshold = step, total = 0;
    int percent = 0;

    auto damaged = [&](const std::string& what) {
        return FailRead("File " + path + ":\nis damaged: " + what + "!\nStopping file read!");
    };

    // Room for every line, so a large file costs one allocation and no copying.
    size_t lineEstimate = 0;
    for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p))));
         ++p)
        ++lineEstimate;
    try {
        m_pPairs.reserve(lineEstimate);
    } catch (const std::bad_alloc&) {
        return FailRead("Ran out of Memory reading File:\n" + path);
    }

    m_nPairs = 0;
    int coefLines = 0;
    int line = 0;
    for (const char* pos = data; pos < end && (eol = FindCrLf(pos, end)) != end;
         pos = eol + 2, ++line) {
        const size_t len = size_t(eol - pos) + 1;
        if (len > kMaxLineLen)
            return FailRead("File " + path + ":\ncontains lines longer than " + "1024" +
                            " characters\nwhich is this application's max!\n");
        total += len;
        if (total > threshold) {
            percent += 5;
            threshold += step;
            ShowReadProgress(name, percent);
        }

        const char* p = pos;
        switch (line) {
        case 0:
            if (*pos != '@')
                return FailRead("File " + path + ": was NOT saved by this application!\n" +
                                "You may import data only thru the Data tab!\nStopping file read!");
            m_strDataTitle.assign(pos + 1, eol);
            continue;
        case 1: m_strXTitle.assign(pos, eol); continue;
        case 2: m_strYTitle.assign(pos, eol); continue;
        case 3:
            if (!ScanInt(p, eol, m_nCurveType))
                return damaged("its curve type (line 4) is not a number");
            if (m_nCurveType < 0 || m_nCurveType > 3)
                return damaged(FormatC("its curve type (line 4) is %d, not 0 to 3", {m_nCurveType}));
            continue;
        case 4:
            if (!ScanInt(p, eol, m_nOrder))
                return damaged("its curve order (line 5) is not a number");
            if (m_nOrder < 1 || m_nOrder > kMaxOrder)
                return damaged(FormatC("its curve order (line 5) is %d, not 1 to 10", {m_nOrder}));
            coefLines = (m_nOrder < 2 ? 1 : m_nOrder) + 1;
            continue;
        case 5:
            ScanDouble(p, eol, m_dSumAbsDiff) && ScanDouble(p, eol, m_dPerformance);
            continue;
        case 6:
            ScanDouble(p, eol, m_dXInt) && ScanDouble(p, eol, m_dYInt);
            continue;
        case 7:
            if (!(ScanInt(p, eol, m_nXDecimals) && ScanInt(p, eol, m_nYDecimals) &&
                  ScanInt(p, eol, m_bXFixed) && ScanInt(p, eol, m_bYFixed)))
                return damaged("its display settings (line 8) are not four numbers");
            if (m_nXDecimals < 0 || m_nXDecimals > kMaxDecimals || m_nYDecimals < 0 ||
                m_nYDecimals > kMaxDecimals)
                return damaged(FormatC("its decimal places (line 8) are %d and %d, not 0 to 14",
                                       {m_nXDecimals, m_nYDecimals}));
            continue;
        default: break;
        }
        if (line < kHeaderLines + coefLines) {
            ScanDouble(p, eol, m_dCoef[line - kHeaderLines]);
            continue;
        }
        CXYdata pair;
        ScanDouble(p, eol, pair.m_dX) && ScanDouble(p, eol, pair.m_dY) &&
            ScanDouble(p, eol, pair.m_dComputed) && ScanDouble(p, eol, pair.m_dDifference);
        try {
            m_pPairs.push_back(pair);
        } catch (const std::bad_alloc&) {
            return FailRead("Ran out of Memory reading File:\n" + path);
        }
        if (m_nPairs == 0)
            ResetExtremes(pair);
        else
            UpdateExtremes(pair);
        ++m_nPairs;
    }
    if (line < kHeaderLines + coefLines || coefLines == 0)
        return damaged(FormatC("its header ends after line %d", {line}));

    ShowReadProgress("Ready", 0);
    BuildFormats();
    m_nPairs = int(m_pPairs.size());
    m_strFileName = path;
    m_pUi->EndWaitCursor();
    m_bReading = 0;
    SetModifiedFlag(false);
    return true;
}

} // namespace lumetra
