#include "dataentry/ImportFile.h"

#include "data/FileContents.h"
#include "data/FileError.h"
#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
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

constexpr size_t kLineLimit = 1024;
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

std::string LongLineMessage(const std::string& source, bool firstLine) {
    return source + (firstLine ? ":\n contains" : ":\ncontains") + " lines longer than " +
           FormatC("%d", {int(kLineLimit)}) + " characters\nwhich is this application's max!\n";
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
    size_t length = 0;
    const int fd = OpenForReading(path, length);
    if (fd < 0) {
        ReportSaveLoadException(ui, {FileErrorKindFromErrno(errno), path}, false,
                                "Failed to open document.");
        return {};
    }
    FdCloser closer(fd);
    if (length == 0) {
        ui.MessageBox(path + " is EMPTY!\nCan't Import!");
        return {};
    }

    WaitCursor wait(ui);
    FileContents contents;
    switch (contents.Load(fd, std::min(length, kImportByteLimit))) {
    case FileContents::Status::Ok:
        break;
    case FileContents::Status::OutOfMemory:
        ReportSaveLoadException(ui, {FileErrorKind::None, path}, false, "Failed to open document.");
        return {};
    case FileContents::Status::ReadError:
        ReportSaveLoadException(ui, {FileErrorKindFromErrno(errno), path}, false,
                                "Failed to open document.");
        return {};
    }
    const ImportResult result =
        ImportText(doc.m_pPairs, ui, "File " + path, contents.data(), contents.size(), listener);
    if (result.accepted)
        doc.RememberDirectory(path);
    return result;
}

ImportResult ImportText(std::vector<CXYdata>& pairs, Ui& ui, const std::string& source,
                        const char* data, size_t r, ImportListener* listener) {
    ImportResult result;
    ImportEnd end(ui, listener);
    const char* const dataEnd = data + r;

    const char* first = NextLineEnd(data, dataEnd);
    if (!first) {
        ui.MessageBox(source + ":\nis NOT a valid data file!\n", Ui::Buttons::Ok, Ui::Icon::Stop);
        return result;
    }
    if (size_t(first - data) > kLineLimit) {
        ui.MessageBox(LongLineMessage(source, true), Ui::Buttons::Ok, Ui::Icon::Stop);
        return result;
    }
    result.accepted = true;

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
        if (len > kLineLimit) {
            ui.MessageBox(LongLineMessage(source, false), Ui::Buttons::Ok, Ui::Icon::Stop);
            return result;
        }
        const char* p = pos;
        const char *x0, *x1, *y0, *y1;
        if (!NextToken(p, cr, x0, x1))
            break; // a blank line ends the data
        if (!NextToken(p, cr, y0, y1)) {
            ui.MessageBox(source + ":\nhas missing Y value!", Ui::Buttons::Ok, Ui::Icon::Stop);
            return result;
        }
        CXYdata pair;
        pair.m_dX = TextToDouble({x0, size_t(x1 - x0)});
        pair.m_dY = TextToDouble({y0, size_t(y1 - y0)});
        // An overflowing or "inf"/"nan" value could be neither fitted nor saved.
        if (!std::isfinite(pair.m_dX) || !std::isfinite(pair.m_dY)) {
            ui.MessageBox(source + ":\nhas a value beyond the range of numbers (about " +
                              "1.8E+308)\nor one that is not a number!",
                          Ui::Buttons::Ok, Ui::Icon::Stop);
            return result;
        }
        try {
            pairs.push_back(pair);
        } catch (const std::bad_alloc&) {
            ui.MessageBox("Out of Memory!\nSHUT DOWN APPLICATION!");
            result.outOfMemory = true;
            return result;
        }
        ++result.imported;
        if (listener)
            listener->OnPairImported(pairs.back());
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
