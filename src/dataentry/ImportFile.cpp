#include "dataentry/ImportFile.h"

#include "data/FileContents.h"
#include "data/FileError.h"
#include "data/LineLimit.h"
#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "data/PairLines.h"
#include "platform/Ui.h"

#include <array>
#include <cmath>
#include <cstring>
#include <new>
#include <string_view>

namespace lumetra {
namespace {

constexpr size_t kProgressFrom = 10000;

constexpr std::array<bool, 256> kDelimiters = [] {
    std::array<bool, 256> set{};
    for (unsigned char c : std::string_view("\t;\",' \r\n"))
        set[c] = true;
    return set;
}();

inline bool IsDelimiter(char c) {
    return kDelimiters[static_cast<unsigned char>(c)];
}

// The next CR LF at or after p, or nullptr when the data ends, or holds a zero byte, first.
const char* NextLineEnd(const char* p, const char* end) {
    const char* crlf = FindCrLf(p, end);
    if (crlf == end || std::memchr(p, '\0', size_t(crlf - p)))
        return nullptr;
    return crlf;
}

// The next token of [p, end) as the C library's tokenizer splits it; false when there is none.
bool NextToken(const char*& p, const char* end, const char*& first, const char*& last) {
    while (p < end && IsDelimiter(*p))
        ++p;
    if (p == end)
        return false;
    first = p;
    while (p < end && !IsDelimiter(*p))
        ++p;
    last = p;
    return true;
}

// Hides the progress bar and puts the cursor back however the import ends.
class ImportEnd {
public:
    ImportEnd(Ui& ui, ImportListener* listener) : m_ui(ui), m_listener(listener) {
        m_ui.BeginWaitCursor();
    }
    ~ImportEnd() {
        if (m_progressShown && m_listener) {
            m_listener->OnProgress(0);
            m_listener->OnProgressShown(false);
        }
        m_ui.EndWaitCursor();
    }
    void ShowProgress() {
        m_progressShown = true;
        if (m_listener) {
            m_listener->OnProgressShown(true);
            m_listener->OnProgress(0);
        }
    }

private:
    Ui& m_ui;
    ImportListener* m_listener;
    bool m_progressShown = false;
};

} // namespace

ImportResult ImportFile(CLumetraDoc& doc, Ui& ui, const std::string& path,
                        ImportListener* listener) {
    ImportResult result;
    size_t length = 0;
    const int fd = OpenForReading(path, length);
    if (fd == kNotRegularFile) {
        ui.MessageBox(NotRegularFileMessage(path), Ui::Buttons::Ok, Ui::Icon::Stop);
        return result;
    }
    if (fd < 0) {
        ReportSaveLoadException(ui, {FileErrorKindFromErrno(errno), path}, false,
                                "Failed to open document.");
        return result;
    }
    FdCloser closer(fd);
    if (length == 0) {
        ui.MessageBox(path + " is EMPTY!\nCan't Import!");
        return result;
    }

    ImportEnd end(ui, listener);
    FileContents contents;
    switch (contents.Load(fd, length, kImportByteLimit)) {
    case FileContents::Status::Ok:
        break;
    case FileContents::Status::OutOfMemory:
        ReportSaveLoadException(ui, {FileErrorKind::None, path}, false, "Failed to open document.");
        return result;
    case FileContents::Status::Changed:
        ui.MessageBox(ChangedWhileReadMessage(path), Ui::Buttons::Ok, Ui::Icon::Stop);
        return result;
    case FileContents::Status::ReadError:
        ReportSaveLoadException(ui, {FileErrorKindFromErrno(errno), path}, false,
                                "Failed to open document.");
        return result;
    }
    const char* const data = contents.data();
    const size_t r = contents.size();
    const char* const dataEnd = data + r;

    const char* first = NextLineEnd(data, dataEnd);
    if (!first) {
        ui.MessageBox("File " + path + ":\nis NOT a valid data file!\n", Ui::Buttons::Ok,
                      Ui::Icon::Stop);
        return result;
    }
    if (size_t(first - data) > kMaxLineLen) {
        ui.MessageBox(LongLineMessage(path, true), Ui::Buttons::Ok, Ui::Icon::Stop);
        return result;
    }
    doc.RememberDirectory(path);

    const size_t step = r > kProgressFrom ? r / 10 : 0;
    size_t nextThreshold = step;
    if (step > 0)
        end.ShowProgress();

    size_t bytesDone = 0;
    for (const char* pos = data; pos < dataEnd;) {
        const char* cr = NextLineEnd(pos, dataEnd);
        if (!cr)
            break;
        const size_t len = size_t(cr - pos) + 1;
        bytesDone += len;
        if (len > kMaxLineLen) {
            ui.MessageBox(LongLineMessage(path, false), Ui::Buttons::Ok, Ui::Icon::Stop);
            return result;
        }
        const char* p = pos;
        const char *x0, *x1, *y0, *y1;
        if (!NextToken(p, cr, x0, x1))
            break; // a blank line ends the data
        if (!NextToken(p, cr, y0, y1)) {
            ui.MessageBox("File " + path + ":\nhas missing Y value!", Ui::Buttons::Ok,
                          Ui::Icon::Stop);
            return result;
        }
        CXYdata pair;
        pair.m_dX = TextToDouble({x0, size_t(x1 - x0)});
        pair.m_dY = TextToDouble({y0, size_t(y1 - y0)});
        // An overflowing or "inf"/"nan" value could be neither fitted nor saved.
        if (!std::isfinite(pair.m_dX) || !std::isfinite(pair.m_dY)) {
            ui.MessageBox("File " + path + ":\nhas a value beyond the range of numbers (about " +
                              "1.8E+308)\nor one that is not a number!",
                          Ui::Buttons::Ok, Ui::Icon::Stop);
            return result;
        }
        try {
            doc.m_pPairs.push_back(pair);
        } catch (const std::bad_alloc&) {
            ui.MessageBox("Out of Memory!\nSHUT DOWN APPLICATION!");
            result.outOfMemory = true;
            return result;
        }
        ++result.imported;
        if (listener)
            listener->OnPairImported(doc.m_pPairs.back());
        pos = cr + 2;
        if (step > 0 && bytesDone >= nextThreshold) {
            ui.EndWaitCursor();
            nextThreshold += step;
            if (listener)
                listener->OnProgress(int(unsigned(bytesDone * 100 / r)));
            ui.PumpMessages();
            ui.BeginWaitCursor();
        }
    }
    return result;
}

} // namespace lumetra
