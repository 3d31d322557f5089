#include "dataentry/ImportFile.h"

#include "data/FileContents.h"
#include "data/FileError.h"
#include "data/LineLimit.h"
#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "data/NumberScan.h"
#include "data/RoundTrip.h"
#include "data/SafeWrite.h"
#include "data/Utf8Text.h"
#include "platform/BusyScope.h"
#include "platform/Ui.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

namespace lumetra {
namespace {

constexpr size_t kProgressFrom = 10000;
// A token quoted in a message is cut to this many characters.
constexpr size_t kQuotedChars = 30;
// Lines that are not pairs named by number in a message; the rest are counted.
constexpr size_t kNamedLines = 5;

using Delimiters = std::array<bool, 256>;

constexpr Delimiters MakeDelimiters(std::string_view chars) {
    Delimiters set{};
    for (unsigned char c : chars)
        set[c] = true;
    return set;
}

// With a decimal comma, the comma belongs to the numbers.
constexpr Delimiters kDelimiters = MakeDelimiters("\t;\",' \r\n");
constexpr Delimiters kDecimalCommaDelimiters = MakeDelimiters("\t;\"' \r\n");

// How the numbers of a text are written, and whether a third one on a line is the standard
// deviation of the pair's measured value.
struct NumberStyle {
    bool decimalComma = false;
    bool sigma = false;
    int Used() const { return sigma ? 3 : 2; }
    const Delimiters& delimiters() const {
        return decimalComma ? kDecimalCommaDelimiters : kDelimiters;
    }
};

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
std::string_view NextToken(const char*& p, const char* end, const Delimiters& delimiters) {
    while (p < end && delimiters[static_cast<unsigned char>(*p)])
        ++p;
    const char* first = p;
    while (p < end && !delimiters[static_cast<unsigned char>(*p)])
        ++p;
    return {first, size_t(p - first)};
}

// A whole token that the number conversion reads to its end: "12abc" is not one. With a decimal
// comma "1,5" reads as 1.5.
bool ReadNumber(std::string_view token, NumberStyle style, double& value) {
    if (token.empty() || token.size() > kMaxLineLen)
        return false;
    char copy[kMaxLineLen];
    const char* p = token.data();
    if (style.decimalComma) {
        std::replace_copy(token.begin(), token.end(), copy, ',', '.');
        p = copy;
    }
    const char* end = p + token.size();
    return ScanDouble(p, end, value) && p == end;
}

// A token that begins as a number does, whatever follows ("12abc", "-3.5mm").
bool BeginsAsNumber(std::string_view t) {
    size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    if (i < t.size() && (t[i] == '.' || t[i] == ','))
        ++i;
    return i < t.size() && t[i] >= '0' && t[i] <= '9';
}

bool HoldsNumbers(const TextLine& line, NumberStyle style) {
    const char* p = line.begin;
    double ignored = 0.0;
    for (std::string_view t = NextToken(p, line.end, style.delimiters()); !t.empty();
         t = NextToken(p, line.end, style.delimiters()))
        if (BeginsAsNumber(t) || ReadNumber(t, style, ignored))
            return true;
    return false;
}

// "1,5", "-0,25", "3,2E-4": digits on either side of one comma, no point.
bool IsDecimalCommaNumber(std::string_view t) {
    const size_t comma = t.find(',');
    if (comma == std::string_view::npos || t.find(',', comma + 1) != std::string_view::npos ||
        t.find('.') != std::string_view::npos)
        return false;
    double ignored = 0.0;
    return ReadNumber(t, {true}, ignored) &&
           (comma > 0 && std::isdigit(static_cast<unsigned char>(t[comma - 1]))) &&
           comma + 1 < t.size() && std::isdigit(static_cast<unsigned char>(t[comma + 1]));
}

// A spreadsheet's text in a decimal-comma language: some line holds a number such as "1,5"
// among fields separated by ";" or TAB, and no number anywhere has a decimal point.
bool UsesDecimalComma(const char* data, const char* dataEnd) {
    if (!std::memchr(data, ',', size_t(dataEnd - data)))
        return false;
    bool seen = false;
    for (const char* pos = data; pos < dataEnd;) {
        const TextLine line = NextLine(pos, dataEnd);
        pos = line.next;
        const bool separated =
            std::find_first_of(line.begin, line.end, "\t;", "\t;" + 2) != line.end;
        const char* p = line.begin;
        for (std::string_view t = NextToken(p, line.end, kDecimalCommaDelimiters); !t.empty();
             t = NextToken(p, line.end, kDecimalCommaDelimiters)) {
            if (BeginsAsNumber(t) && t.find('.') != std::string_view::npos)
                return false;
            seen = seen || (separated && IsDecimalCommaNumber(t));
        }
    }
    return seen;
}

std::string Quoted(std::string_view token) {
    const std::string_view shown = Utf8Prefix(token, kQuotedChars);
    return "\"" + std::string(shown) + (shown.size() < token.size() ? "...\"" : "\"");
}

std::string Lines(int count, const char* one, const char* many) {
    return count == 1 ? std::string(one) : FormatC(many, {count});
}

// How one line reads.
struct LineReading {
    enum class Kind { Blank, Pair, Text, NotPair } kind = Kind::Blank;
    CXYdata pair;
    int numbers = 0;       // on a pair line, how many it holds
    std::string_view x, y; // the tokens as written
    std::string why;       // on a line that is not a pair, after "line N "
};

// The third number of a pair line as its standard deviation; false, with the line marked as not
// a pair and why, when it is missing, not a number or not above 0.
bool ReadSigma(std::string_view token, NumberStyle style, LineReading& r) {
    r.kind = LineReading::Kind::NotPair;
    if (token.empty())
        r.why = "has missing standard deviation (its third number)!";
    else if (!ReadNumber(token, style, r.pair.m_dSigma))
        r.why = "holds " + Quoted(token) + " as standard deviation, which is not a number!";
    else if (!(r.pair.m_dSigma > 0.0) || !std::isfinite(r.pair.m_dSigma))
        r.why = "holds the standard deviation " + Quoted(token) + ", which is not above 0!";
    else
        return true;
    return false;
}

LineReading ReadLine(const TextLine& line, NumberStyle style) {
    LineReading r;
    const char* p = line.begin;
    const Delimiters& d = style.delimiters();
    r.x = NextToken(p, line.end, d);
    r.y = NextToken(p, line.end, d);
    if (r.x.empty())
        return r;
    const bool xIsNumber = ReadNumber(r.x, style, r.pair.m_dX);
    const bool yIsNumber = ReadNumber(r.y, style, r.pair.m_dY);
    if (xIsNumber && yIsNumber) {
        if (!std::isfinite(r.pair.m_dX) || !std::isfinite(r.pair.m_dY)) {
            // An overflowing or "inf"/"nan" value could be neither fitted nor saved.
            r.kind = LineReading::Kind::NotPair;
            r.why = "has a value beyond the range of numbers (about 1.8E+308)\n"
                    "or one that is not a number!";
            return r;
        }
        if (style.sigma && !ReadSigma(NextToken(p, line.end, d), style, r))
            return r;
        r.kind = LineReading::Kind::Pair;
        r.numbers = style.Used();
        double ignored = 0.0;
        for (std::string_view t = NextToken(p, line.end, d); !t.empty();
             t = NextToken(p, line.end, d))
            r.numbers += ReadNumber(t, style, ignored) ? 1 : 0;
        return r;
    }
    if (!HoldsNumbers(line, style)) {
        r.kind = LineReading::Kind::Text; // a heading or units line before the data
        r.why = "holds " + Quoted(r.x) + ", which is not a number!";
        return r;
    }
    r.kind = LineReading::Kind::NotPair;
    r.why = xIsNumber && r.y.empty()
                ? "has missing Y value!"
                : "holds " + Quoted(xIsNumber ? r.y : r.x) + ", which is not a number!";
    return r;
}

// Lines that are not pairs: how many, and the numbers of the first few.
struct LineTally {
    int count = 0;
    std::vector<int> named;
    void Add(int line) {
        ++count;
        if (named.size() < kNamedLines)
            named.push_back(line);
    }
    void Add(const LineTally& later) {
        count += later.count;
        for (int line : later.named)
            if (named.size() < kNamedLines)
                named.push_back(line);
    }
    // "lines 3, 7 and 12", "lines 3, 7, 12, 15, 20 and 52 more", "line 3".
    std::string Named() const {
        if (count == 1)
            return FormatC("line %d", {named[0]});
        std::string text = "lines";
        const int more = count - int(named.size());
        for (size_t i = 0; i < named.size(); ++i)
            text += (i == 0                               ? " "
                     : i + 1 == named.size() && more == 0 ? " and "
                                                          : ", ") +
                    std::to_string(named[i]);
        return more > 0 ? text + FormatC(" and %d more", {more}) : text;
    }
};

// Where the import would stop, and with what words.
struct StopPoint {
    int line = 0;
    size_t pairs = 0;    // pairs read before it
    int extraLines = 0;  // pair lines before it that held more than two numbers
    int withNumbers = 0; // lines with numbers before and at it
    bool blank = false;  // a blank line; else a line that is not a pair
    std::string why;     // for a line that is not a pair
};

// Everything one pass over the text found.
class ImportPass {
public:
    ImportPass(std::vector<CXYdata>& pairs, NumberStyle style) : m_pairs(pairs), m_style(style) {}

    // False when memory ran out for the pair.
    bool Take(const TextLine& line, int lineNumber) {
        const LineReading r = ReadLine(line, m_style);
        const bool started = m_pairs.size() > m_first;
        if (r.kind == LineReading::Kind::Pair || r.kind == LineReading::Kind::NotPair)
            ++withNumbers;
        if (!started && (r.kind == LineReading::Kind::Blank || r.kind == LineReading::Kind::Text)) {
            ++skipped; // a heading, a units line or a blank line before the data
            return true;
        }
        if (r.kind == LineReading::Kind::Pair)
            return TakePair(r, lineNumber);
        if (r.kind == LineReading::Kind::Blank) {
            if (!m_blank)
                m_blank = Stop(lineNumber, true, {});
            return true;
        }
        // A line read after a blank line that no pair follows belongs to no tally yet.
        (m_blank ? m_pendingAfterBlank : m_pending).Add(lineNumber);
        if (!m_firstPending)
            m_firstPending = Stop(lineNumber, false, r.why);
        return true;
    }

    // At the end of the text: what lies after the last pair is settled.
    void End() {
        if (m_firstPending && (!m_blank || m_firstPending->line < m_blank->line)) {
            Commit(*m_firstPending);
            notPairs.Add(m_pending);
        }
        if (m_blank) {
            endBlank = m_blank;
            unreadAfterBlank = withNumbers - m_blank->withNumbers;
            trailing = m_pendingAfterBlank;
        }
    }

    // The first line that is not a pair, or blank line followed by pairs; and whether pairs follow.
    std::optional<StopPoint> firstStop;
    bool PairsAfterStop() const { return firstStop && m_pairs.size() > firstStop->pairs; }
    LineTally notPairs;
    std::optional<StopPoint> endBlank; // the blank line after the last pair
    int unreadAfterBlank = 0;          // lines with numbers after it
    LineTally trailing;                // the lines after it that are not pairs
    int skipped = 0;
    int withNumbers = 0; // lines that hold numbers
    int extraLines = 0, firstExtraLine = 0, firstExtraCount = 0;
    std::string commaExample; // a number first read with a decimal comma

    size_t First() const { return m_first; }

private:
    StopPoint Stop(int line, bool blank, std::string why) const {
        return {line, m_pairs.size(), extraLines, withNumbers, blank, std::move(why)};
    }

    bool TakePair(const LineReading& r, int lineNumber) {
        if (m_firstPending || m_blank)
            SettleBetweenPairs();
        try {
            m_pairs.push_back(r.pair);
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (r.numbers > m_style.Used() && extraLines++ == 0) {
            firstExtraLine = lineNumber;
            firstExtraCount = r.numbers;
        }
        if (m_style.decimalComma && commaExample.empty()) {
            const bool inX = r.x.find(',') != std::string_view::npos;
            if (inX || r.y.find(',') != std::string_view::npos)
                commaExample = "\"" + std::string(inX ? r.x : r.y) + "\" as " +
                               RoundTripNumber(inX ? r.pair.m_dX : r.pair.m_dY);
        }
        return true;
    }

    // What lay between the last pair and this one were lines that are not pairs.
    void SettleBetweenPairs() {
        const bool blankFirst =
            m_blank && (!m_firstPending || m_blank->line < m_firstPending->line);
        Commit(blankFirst ? *m_blank : *m_firstPending);
        notPairs.Add(m_pending);
        notPairs.Add(m_pendingAfterBlank);
        m_pending = {};
        m_pendingAfterBlank = {};
        m_firstPending.reset();
        m_blank.reset();
    }

    void Commit(const StopPoint& stop) {
        if (!firstStop)
            firstStop = stop;
    }

    std::vector<CXYdata>& m_pairs;
    const size_t m_first = m_pairs.size();
    const NumberStyle m_style;
    // Since the last pair: lines that are not pairs, before and after a blank line.
    LineTally m_pending, m_pendingAfterBlank;
    std::optional<StopPoint> m_firstPending, m_blank;
};

// The wait cursor, and the progress bar of a long import; both go however the import ends.
class ImportProgress {
public:
    ImportProgress(Ui& ui, ImportListener* listener, size_t r)
        : m_ui(ui), m_wait(ui), m_listener(listener), m_r(r),
          m_step(r > kProgressFrom ? r / 10 : 0), m_next(m_step) {
        if (m_step > 0 && m_listener) {
            m_listener->OnProgressShown(true);
            m_listener->OnProgress(0);
        }
    }
    ~ImportProgress() {
        if (m_step > 0 && m_listener) {
            m_listener->OnProgress(0);
            m_listener->OnProgressShown(false);
        }
    }
    // The threshold advances by one step per line at most.
    void Reached(size_t bytesDone) {
        if (m_step == 0 || bytesDone < m_next)
            return;
        m_next += m_step;
        if (m_listener)
            m_listener->OnProgress(int(unsigned(bytesDone * 100 / m_r)));
        PumpMessagesUnderNormalCursor(m_ui);
    }

private:
    Ui& m_ui;
    const BusyScope m_wait;
    ImportListener* m_listener;
    size_t m_r, m_step, m_next;
};

// The words of a stop, after "<source>:\n".
std::string StopText(const StopPoint& stop, int unread) {
    if (stop.blank)
        return FormatC("the blank line %d ended the import;\n", {stop.line}) +
               Lines(unread, "1 line with numbers after it was not read!",
                     "%d lines with numbers after it were not read!");
    return FormatC("line %d ", {stop.line}) + stop.why;
}

// The note on pair lines with more numbers than the import takes.
std::string ExtraNumbersNote(int lines, int firstLine, int firstCount, bool sigma) {
    const char* taken = sigma ? "three" : "two";
    const char* as = sigma ? "X, Y and the standard deviation" : "X and Y";
    if (lines == 1)
        return FormatC("line %d holds %d numbers; its first %s were taken as %s.",
                       {firstLine, firstCount, taken, as});
    return FormatC("%d lines hold more than %s numbers (the first is line %d); the first %s of "
                   "each were taken as %s.",
                   {lines, taken, firstLine, taken, as});
}

std::string NotPairsText(const LineTally& tally, bool skipped) {
    if (skipped)
        return (tally.count == 1
                    ? std::string("1 line that is not an X/Y pair was skipped: ")
                    : FormatC("%d lines that are not X/Y pairs were skipped: ", {tally.count})) +
               tally.Named() + ".";
    return (tally.count == 1 ? std::string("1 line is not an X/Y pair: ")
                             : FormatC("%d lines are not X/Y pairs: ", {tally.count})) +
           tally.Named() + ".";
}

// The one message of an import: what stopped it first, then what it noted.
class ImportMessage {
public:
    void Add(const std::string& text, Ui::Icon icon) {
        if (text.empty())
            return;
        m_text += (m_text.empty() ? "" : "\n") + text;
        if (Gravity(icon) > Gravity(m_icon))
            m_icon = icon;
    }
    void Show(Ui& ui, const std::string& source) const {
        if (!m_text.empty())
            ui.MessageBox(source + ":\n" + m_text, Ui::Buttons::Ok, m_icon);
    }

private:
    // The box takes the gravest icon: a stop, then a warning, then a note.
    static int Gravity(Ui::Icon icon) {
        return icon == Ui::Icon::Stop ? 2 : icon == Ui::Icon::Exclamation ? 1 : 0;
    }

    std::string m_text;
    Ui::Icon m_icon = Ui::Icon::Information;
};

} // namespace

bool HoldsAnyNumber(const char* data, size_t r) {
    const NumberStyle style{UsesDecimalComma(data, data + r)};
    for (const char* pos = data; pos < data + r;) {
        const TextLine line = NextLine(pos, data + r);
        if (HoldsNumbers(line, style))
            return true;
        pos = line.next;
    }
    return false;
}

ImportResult ImportFile(CLumetraDoc& doc, Ui& ui, const std::string& path, ImportListener* listener,
                        BadLines badLines, bool withSigma) {
    const ImportResult none;
    // A data file left half-written by a killed save is no text to import.
    const UnfinishedSave unfinished = RecoverUnfinishedSave(path);
    if (unfinished.state == UnfinishedSave::State::Refused) {
        ui.MessageBox(unfinished.message, Ui::Buttons::Ok, Ui::Icon::Stop);
        return none;
    }
    if (unfinished.state == UnfinishedSave::State::Restored)
        ui.MessageBox(unfinished.message, Ui::Buttons::Ok, Ui::Icon::Information);
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
    const ImportResult result =
        ImportText(doc.m_pPairs, ui, "File " + path, contents.data(), contents.size(), listener,
                   length > kImportByteLimit, badLines, withSigma);
    if (result.accepted)
        doc.RememberDirectory(path);
    return result;
}

ImportResult ImportText(std::vector<CXYdata>& pairs, Ui& ui, const std::string& source,
                        const char* data, size_t r, ImportListener* listener, bool cutShort,
                        BadLines badLines, bool withSigma) {
    ImportResult result;
    const char* const dataEnd = data + r;
    const TextLine first = NextLine(data, dataEnd);
    // No text line holds a zero byte: this is some other kind of file.
    if (r == 0 || std::memchr(first.begin, '\0', size_t(first.end - first.begin))) {
        ui.MessageBox(source + ":\nis NOT a valid data file!\n", Ui::Buttons::Ok, Ui::Icon::Stop);
        return result;
    }
    if (size_t(first.end - first.begin) > kMaxLineChars + 1) {
        ui.MessageBox(source + ":\n" + LongLineText(true), Ui::Buttons::Ok, Ui::Icon::Stop);
        return result;
    }
    result.accepted = true;
    result.decimalComma = UsesDecimalComma(data, dataEnd);

    const NumberStyle style{result.decimalComma, withSigma};
    ImportPass pass(pairs, style);
    int longLine = 0; // the first line too long to read: the data end before it
    {
        ImportProgress progress(ui, listener, r);
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
            if (len > kMaxLineLen) {
                longLine = lineNumber;
                break;
            }
            if (!pass.Take(line, lineNumber)) {
                result.outOfMemory = true;
                break;
            }
            progress.Reached(bytesDone);
        }
    }
    pass.End();
    result.skipped = pass.skipped;

    // Lines that are not pairs among them: skipped, or the end of the import.
    const bool asked = badLines == BadLines::Ask && pass.PairsAfterStop() && !result.outOfMemory;
    bool skip = badLines == BadLines::Skip;
    if (asked) {
        const StopPoint& stop = *pass.firstStop;
        const std::string why =
            stop.blank ? FormatC("the blank line %d is followed by more pairs!", {stop.line})
                       : StopText(stop, 0);
        // Beyond the one named already.
        const std::string tally = pass.notPairs.count > (stop.blank ? 0 : 1)
                                      ? "\n" + NotPairsText(pass.notPairs, false)
                                      : "";
        skip = ui.MessageBox(source + ":\n" + why + tally +
                                 FormatC("\nSkip the lines that are not X/Y pairs and read on?\n"
                                         "No stops the import at line %d.",
                                         {stop.line}),
                             Ui::Buttons::YesNo, Ui::Icon::Question) == Ui::Answer::Yes;
    }
    ImportMessage message;
    const bool stopped = !skip && pass.firstStop && !result.outOfMemory;
    int extraLines = pass.extraLines;
    if (stopped) {
        const StopPoint& stop = *pass.firstStop;
        pairs.resize(stop.pairs);
        extraLines = stop.extraLines;
        if (stop.blank && !asked)
            message.Add(StopText(stop, pass.withNumbers - stop.withNumbers), Ui::Icon::Exclamation);
        else if (!asked) // the question has said it
            message.Add(StopText(stop, 0) + "\nThe import stopped at that line.", Ui::Icon::Stop);
    } else {
        if (longLine > 0)
            message.Add(LongLineText(false) + FormatC("It is line %d.", {longLine}),
                        Ui::Icon::Stop);
        LineTally skipped = pass.notPairs;
        if (skip) // past the last pair as well
            skipped.Add(pass.trailing);
        if (skip && skipped.count > 0) {
            result.notPairs = skipped.count;
            message.Add(NotPairsText(skipped, true), Ui::Icon::Information);
        }
        if (!skip && pass.endBlank && pass.unreadAfterBlank > 0)
            message.Add(StopText(*pass.endBlank, pass.unreadAfterBlank), Ui::Icon::Exclamation);
    }
    const bool unreadAfterEnd = !skip && pass.endBlank && pass.unreadAfterBlank > 0;
    result.notPairsStopped = stopped || unreadAfterEnd;
    result.imported = int(pairs.size() - pass.First());
    result.complete = !result.notPairsStopped && longLine == 0 && !result.outOfMemory && !cutShort;
    if (result.imported > 0 && extraLines > 0)
        message.Add(
            ExtraNumbersNote(extraLines, pass.firstExtraLine, pass.firstExtraCount, style.sigma),
            Ui::Icon::Information);
    if (result.imported > 0 && !pass.commaExample.empty())
        message.Add("The numbers were read with a decimal comma: " + pass.commaExample + ".",
                    Ui::Icon::Information);
    if (cutShort)
        message.Add(FormatC("is longer than %d bytes; only the lines in its first %d bytes were "
                            "read!",
                            {int(kImportByteLimit), int(kImportByteLimit)}),
                    Ui::Icon::Exclamation);
    const int skipped = result.skipped;
    if (skipped > 0 && result.imported == 0 && !stopped && longLine == 0 && !result.outOfMemory)
        message.Add(Lines(skipped, "holds no X/Y pairs: its one line holds no numbers!",
                          "holds no X/Y pairs: none of its %d lines holds numbers!"),
                    Ui::Icon::Stop);
    else if (skipped > 0)
        message.Add(Lines(skipped, "1 line before the first pair holds no numbers; it was skipped.",
                          "%d lines before the first pair hold no numbers; they were skipped."),
                    Ui::Icon::Information);
    if (listener) {
        try {
            for (size_t i = pass.First(); i < pairs.size(); ++i)
                listener->OnPairImported(pairs[i]);
        } catch (const std::bad_alloc&) {
            result.outOfMemory = true; // the page's list that shows them
        }
    }
    // Memory that ran out ends the import with its own message, alone.
    if (result.outOfMemory)
        ui.MessageBox("Out of Memory!\nSHUT DOWN APPLICATION!");
    else
        message.Show(ui, source);
    return result;
}

} // namespace lumetra
