#include "dataentry/ImportFile.h"

#include "data/FileContents.h"
#include "data/FileError.h"
#include "data/LineLimit.h"
#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "data/NumberScan.h"
#include "data/Utf8Text.h"
#include "platform/BusyScope.h"
#include "platform/Ui.h"

#include <array>
#include <cmath>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace lumetra {
namespace {

constexpr size_t kProgressFrom = 10000;
// A token quoted in a message is cut to this many characters.
constexpr size_t kQuotedChars = 30;

constexpr std::array<bool, 256> kDelimiters = [] {
    std::array<bool, 256> set{};
    for (unsigned char c : std::string_view("\t;\",' \r\n"))
        set[c] = true;
    return set;
}();

inline bool IsDelimiter(char c) {
    return kDelimiters[static_cast<unsigned char>(c)];
}

// One line of the text: LF, CR LF and a lone CR all end a line, and so does the end of the data.
struct TextLine {
    const char* begin;
    const char* end;  // before its line end
    const char* next; // after its line end
    bool ended;       // false: the data ends inside the line
};

TextLine NextLine(const char* p, const char* dataEnd) {
    const char* q = p;
    while (q < dataEnd && *q != '\n' && *q != '\r')
        ++q;
    if (q == dataEnd)
        return {p, q, q, false};
    const char* next = q + 1;
    if (*q == '\r' && next < dataEnd && *next == '\n')
        ++next;
    return {p, q, next, true};
}

// The next token of [p, end) as the C library's tokenizer splits it; empty when there is none.
std::string_view NextToken(const char*& p, const char* end) {
    while (p < end && IsDelimiter(*p))
        ++p;
    const char* first = p;
    while (p < end && !IsDelimiter(*p))
        ++p;
    return {first, size_t(p - first)};
}

// A whole token that the number conversion reads to its end: "12abc" is not one.
bool ReadNumber(std::string_view token, double& value) {
    const char* p = token.data();
    const char* end = p + token.size();
    return !token.empty() && ScanDouble(p, end, value) && p == end;
}

// A token that begins as a number does, whatever follows ("12abc", "-3.5mm").
bool BeginsAsNumber(std::string_view t) {
    size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    if (i < t.size() && t[i] == '.')
        ++i;
    return i < t.size() && t[i] >= '0' && t[i] <= '9';
}

bool HoldsNumbers(const TextLine& line) {
    const char* p = line.begin;
    double ignored = 0.0;
    for (std::string_view t = NextToken(p, line.end); !t.empty(); t = NextToken(p, line.end))
        if (BeginsAsNumber(t) || ReadNumber(t, ignored))
            return true;
    return false;
}

std::string Quoted(std::string_view token) {
    const std::string_view shown = Utf8Prefix(token, kQuotedChars);
    return "\"" + std::string(shown) + (shown.size() < token.size() ? "...\"" : "\"");
}

std::string Lines(int count, const char* one, const char* many) {
    return count == 1 ? std::string(one) : FormatC(many, {count});
}

// The progress bar of a long import, shown from the start and hidden however the import ends.
class ProgressShown {
public:
    ProgressShown(ImportListener* listener, bool shown) : m_listener(shown ? listener : nullptr) {
        if (m_listener) {
            m_listener->OnProgressShown(true);
            m_listener->OnProgress(0);
        }
    }
    ~ProgressShown() {
        if (m_listener) {
            m_listener->OnProgress(0);
            m_listener->OnProgressShown(false);
        }
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    ImportListener* m_listener;
};

// What stopped the import or was left unread: the text after "<source>:\n".
struct ImportStop {
    std::string text;
    Ui::Icon icon = Ui::Icon::Exclamation;
};

// What the import met, once it has ended: at most one message, whose last line names the lines
// skipped before the first pair.
void TellImportEnd(Ui& ui, const std::string& source, const ImportResult& result, ImportStop stop) {
    const int skipped = result.skipped;
    if (stop.text.empty() && skipped > 0 && result.imported == 0) {
        stop.text = Lines(skipped, "holds no X/Y pairs: its one line holds no numbers!",
                          "holds no X/Y pairs: none of its %d lines holds numbers!");
        stop.icon = Ui::Icon::Stop;
    } else if (skipped > 0) {
        const std::string note =
            Lines(skipped, "1 line before the first pair holds no numbers; it was skipped.",
                  "%d lines before the first pair hold no numbers; they were skipped.");
        if (stop.text.empty())
            stop.icon = Ui::Icon::Information;
        stop.text += (stop.text.empty() ? "" : "\n") + note;
    }
    if (!stop.text.empty())
        ui.MessageBox(source + ":\n" + stop.text, Ui::Buttons::Ok, stop.icon);
}

// After the blank line that ends the import: how many of the lines left hold numbers.
int LinesWithNumbers(const char* p, const char* dataEnd, bool cutShort) {
    int count = 0;
    while (p < dataEnd) {
        const TextLine line = NextLine(p, dataEnd);
        if (!line.ended && cutShort)
            break;
        count += HoldsNumbers(line) ? 1 : 0;
        p = line.next;
    }
    return count;
}

// The pairs of the text, appended as they are read, and what stopped the reading, if anything.
ImportStop ReadPairs(std::vector<CXYdata>& pairs, Ui& ui, const char* data, size_t r,
                     ImportListener* listener, bool cutShort, ImportResult& result) {
    const char* const dataEnd = data + r;
    const size_t step = r > kProgressFrom ? r / 10 : 0;
    size_t nextThreshold = step;

    size_t bytesDone = 0;
    int lineNumber = 0;
    for (const char* pos = data; pos < dataEnd;) {
        const TextLine line = NextLine(pos, dataEnd);
        if (!line.ended && cutShort)
            break;
        ++lineNumber;
        pos = line.next;
        const size_t len = size_t(line.end - line.begin) + 1;
        bytesDone += len;
        if (len > kMaxLineLen)
            return {LongLineText(false), Ui::Icon::Stop};
        const char* p = line.begin;
        const std::string_view xText = NextToken(p, line.end);
        const std::string_view yText = NextToken(p, line.end);
        CXYdata pair;
        const bool xIsNumber = ReadNumber(xText, pair.m_dX);
        const bool yIsNumber = ReadNumber(yText, pair.m_dY);
        if (xText.empty() && result.imported > 0) {
            // A blank line ends the data; what follows it is not read.
            if (const int unread = LinesWithNumbers(pos, dataEnd, cutShort))
                return {FormatC("the blank line %d ended the import;\n", {lineNumber}) +
                            Lines(unread, "1 line with numbers after it was not read!",
                                  "%d lines with numbers after it were not read!"),
                        Ui::Icon::Exclamation};
            return {};
        }
        if (result.imported == 0 && !(xIsNumber && yIsNumber) && !HoldsNumbers(line)) {
            ++result.skipped; // a heading, a units line or a blank line before the data
        } else if (xIsNumber && yText.empty()) {
            return {"has missing Y value!", Ui::Icon::Stop};
        } else if (!xIsNumber || !yIsNumber) {
            return {FormatC("line %d holds %s, which is not a number!\n"
                            "The import stopped at that line.",
                            {lineNumber, Quoted(xIsNumber ? yText : xText)}),
                    Ui::Icon::Stop};
        } else if (!std::isfinite(pair.m_dX) || !std::isfinite(pair.m_dY)) {
            // An overflowing or "inf"/"nan" value could be neither fitted nor saved.
            return {"has a value beyond the range of numbers (about 1.8E+308)\n"
                    "or one that is not a number!",
                    Ui::Icon::Stop};
        } else {
            try {
                pairs.push_back(pair);
                ++result.imported;
                if (listener)
                    listener->OnPairImported(pairs.back());
            } catch (const std::bad_alloc&) {
                result.outOfMemory = true;
                return {};
            }
        }
        if (step > 0 && bytesDone >= nextThreshold) {
            nextThreshold += step;
            if (listener)
                listener->OnProgress(int(unsigned(bytesDone * 100 / r)));
            PumpMessagesUnderNormalCursor(ui);
        }
    }
    if (cutShort)
        return {FormatC("is longer than %d bytes; only the lines in its first %d bytes were "
                        "read!",
                        {int(kImportByteLimit), int(kImportByteLimit)}),
                Ui::Icon::Exclamation};
    return {};
}

} // namespace

ImportResult ImportFile(CLumetraDoc& doc, Ui& ui, const std::string& path,
                        ImportListener* listener) {
    const ImportResult none;
    size_t length = 0;
    const int fd = OpenForReading(path, length);
    if (fd == kNotRegularFile) {
        ui.MessageBox(NotRegularFileMessage(path), Ui::Buttons::Ok, Ui::Icon::Stop);
        return none;
    }
    if (fd < 0) {
        ReportSaveLoadException(ui, {FileErrorKindFromErrno(errno), path}, false,
                                "Failed to open document.");
        return none;
    }
    FdCloser closer(fd);
    if (length == 0) {
        ui.MessageBox(path + " is EMPTY!\nCan't Import!");
        return none;
    }

    FileContents contents;
    {
        const BusyScope wait(ui);
        const FileContents::Status status = contents.Load(fd, length, kImportByteLimit);
        if (status == FileContents::Status::Changed) {
            ui.MessageBox(ChangedWhileReadMessage(path), Ui::Buttons::Ok, Ui::Icon::Stop);
            return none;
        }
        if (status != FileContents::Status::Ok) {
            const FileErrorKind kind = status == FileContents::Status::OutOfMemory
                                           ? FileErrorKind::None
                                           : FileErrorKindFromErrno(errno);
            ReportSaveLoadException(ui, {kind, path}, false, "Failed to open document.");
            return none;
        }
    }
    // Only the first bytes are read; a line that the limit cuts in two would give a wrong
    // number, so it is left unread.
    const ImportResult result = ImportText(doc.m_pPairs, ui, "File " + path, contents.data(),
                                           contents.size(), listener, length > kImportByteLimit);
    if (result.accepted)
        doc.RememberDirectory(path);
    return result;
}

ImportResult ImportText(std::vector<CXYdata>& pairs, Ui& ui, const std::string& source,
                        const char* data, size_t r, ImportListener* listener, bool cutShort) {
    ImportResult result;
    const char* const dataEnd = data + r;
    const TextLine first = NextLine(data, dataEnd);
    // No text line holds a zero byte: this is some other kind of file.
    if (r == 0 || std::memchr(first.begin, '\0', size_t(first.end - first.begin))) {
        ui.MessageBox(source + ":\nis NOT a valid data file!\n", Ui::Buttons::Ok, Ui::Icon::Stop);
        return result;
    }
    if (size_t(first.end - first.begin) > kMaxLineLen) {
        ui.MessageBox(source + ":\n" + LongLineText(true), Ui::Buttons::Ok, Ui::Icon::Stop);
        return result;
    }
    result.accepted = true;

    ImportStop stop;
    {
        const BusyScope wait(ui);
        const ProgressShown progress(listener, r > kProgressFrom);
        stop = ReadPairs(pairs, ui, data, r, listener, cutShort, result);
    }
    // Memory that ran out ends the import with its own message, alone.
    if (result.outOfMemory)
        ui.MessageBox("Out of Memory!\nSHUT DOWN APPLICATION!");
    else
        TellImportEnd(ui, source, result, std::move(stop));
    return result;
}

} // namespace lumetra
