#include "data/PairLines.h"

#include "data/NumberScan.h"
#include "platform/WorkSplit.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace lumetra {
namespace {

constexpr size_t kProgressCap = 10000000;
// Below this many bytes for each part a thread costs more than it saves.
constexpr size_t kMinBytesPerPart = 64 * 1024;

// A standard deviation that is not a number above 0 becomes NaN, which the reader refuses.
void TakeSigmaField(std::string_view rest, double& sigma) {
    const std::string_view text = FieldText(rest, "s");
    if (text.empty())
        return;
    const char* p = text.data();
    const char* end = p + text.size();
    if (!ScanDouble(p, end, sigma) || p != end || !(sigma > 0.0) || !std::isfinite(sigma))
        sigma = std::numeric_limits<double>::quiet_NaN();
}

// "excluded=1" leaves the pair out of the fit, "excluded=0" (a hand edit) keeps it in; false for
// any other value.
bool TakeExclusionField(std::string_view rest, bool& excluded) {
    const std::string_view text = FieldText(rest, "excluded");
    if (text.empty())
        return true;
    excluded = text == "1";
    return excluded || text == "0";
}

// Reads one line into pair, noting whether a shown X or Y overruled its exact field and whether
// its exclusion mark is unknown.
void ReadPairLine(const char* p, const char* eol, CXYdata& pair, const PairFieldFormats* formats,
                  bool& overruled, bool& unknownExclusion) {
    // A line with fewer numbers has its fields after the last one read.
    for (double* value : {&pair.m_dX, &pair.m_dY, &pair.m_dComputed, &pair.m_dDifference})
        if (const char* before = p; !ScanDouble(p, eol, *value)) {
            p = before;
            break;
        }
    const std::string_view rest(p, size_t(eol - p));
    // Lines without fields are the rule; they cost one search for '='.
    if (rest.find('=') == std::string_view::npos)
        return;
    TakeSigmaField(rest, pair.m_dSigma);
    unknownExclusion = !TakeExclusionField(rest, pair.m_bExcluded);
    if (!formats)
        return;
    const bool xOverruled = TakeExactField(rest, "x", formats->x, pair.m_dX) == FieldUse::Overruled;
    overruled =
        TakeExactField(rest, "y", formats->y, pair.m_dY) == FieldUse::Overruled || xOverruled;
}

// Appends the lines' pairs to out; the noted lines are counted by their index in out.
PairLineNotes ReadLinesInto(const char* p, const char* end, std::vector<CXYdata>& out,
                            const PairFieldFormats* formats) {
    PairLineNotes notes;
    while (p < end) {
        const char* eol = FindCrLf(p, end);
        CXYdata pair;
        bool overruled = false, unknownExclusion = false;
        ReadPairLine(p, eol, pair, formats, overruled, unknownExclusion);
        if (overruled)
            notes.overruled.Add(out.size());
        if (unknownExclusion)
            notes.unknownExclusion.Add(out.size());
        out.push_back(pair);
        p = eol + 2;
    }
    return notes;
}

// Reads [begin, end) in parts at once, split at line ends: the first part appends to pairs, the
// others fill vectors of their own that are appended in order, so the pairs come out as one
// thread reads them. The noted lines are counted by their index in pairs.
PairLineNotes ReadSegment(const char* begin, const char* end, std::vector<CXYdata>& pairs,
                          const PairFieldFormats* formats) {
    const int parts = WorkParts(size_t(end - begin), kMinBytesPerPart);
    if (parts == 1)
        return ReadLinesInto(begin, end, pairs, formats);
    std::vector<const char*> starts(size_t(parts) + 1, end);
    starts[0] = begin;
    for (int part = 1; part < parts; ++part) {
        const char* eol = FindCrLf(begin + (end - begin) * part / parts, end);
        starts[size_t(part)] = std::max(eol == end ? end : eol + 2, starts[size_t(part) - 1]);
    }
    std::vector<std::vector<CXYdata>> own(size_t(parts) - 1);
    std::vector<PairLineNotes> notes(static_cast<size_t>(parts));
    RunParts(parts, [&](int part, int) {
        const char* from = starts[size_t(part)];
        const char* to = starts[size_t(part) + 1];
        if (part == 0) {
            notes[0] = ReadLinesInto(from, to, pairs, formats);
            return;
        }
        std::vector<CXYdata>& out = own[size_t(part) - 1];
        out.reserve(size_t(to - from) / 16);
        notes[size_t(part)] = ReadLinesInto(from, to, out, formats);
    });
    PairLineNotes all = notes[0];
    for (size_t part = 1; part < size_t(parts); ++part) {
        all.Add(notes[part], pairs.size());
        pairs.insert(pairs.end(), own[part - 1].begin(), own[part - 1].end());
    }
    return all;
}

} // namespace

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

ReadProgress::ReadProgress(size_t fileLength)
    : m_length(fileLength), m_base(fileLength < kProgressCap ? fileLength : kProgressCap),
      m_step(m_base / 20), m_threshold(m_step) {}

bool ReadProgress::AddLine(size_t len) {
    m_total += len;
    if (m_total <= m_threshold)
        return false;
    ++m_nSteps;
    m_threshold += m_step;
    return true;
}

// Steps come every twentieth of the capped base, so a file longer than the base takes more than
// twenty of them: each then stands for less than 5 % of the file, and the percent never passes
// 100. Up to the base this is 5 % a step.
int ReadProgress::Percent() const {
    const size_t twentieths = m_length == 0 ? 0 : m_nSteps * m_base / m_length;
    return 5 * int(twentieths < 20 ? twentieths : 20);
}

PairLinePlan PlanPairLines(const char* begin, const char* end, ReadProgress& progress) {
    PairLinePlan plan;
    plan.begin = plan.end = begin;
    for (const char* p = begin; p < end;) {
        const char* eol = FindCrLf(p, end);
        if (eol == end)
            break;
        const size_t len = size_t(eol - p) + 1;
        if (len > kMaxLineLen) {
            plan.tooLong = true;
            return plan;
        }
        if (std::memchr(p, '\n', len - 1) || std::memchr(p, '\r', len - 1)) {
            plan.lineEndInside = true;
            return plan;
        }
        p = plan.end = eol + 2;
        ++plan.lines;
        if (progress.AddLine(len))
            plan.marks.push_back({p, progress.Percent()});
    }
    for (const char* p = plan.end; p < end && !plan.cutShort; ++p)
        plan.cutShort = !std::isspace(static_cast<unsigned char>(*p));
    return plan;
}

void PairLineNotes::Add(const PairLineNotes& other, size_t shift) {
    for (auto [mine, theirs] : {std::pair{&overruled, &other.overruled},
                                std::pair{&unknownExclusion, &other.unknownExclusion}}) {
        OverruledFields shifted = *theirs;
        shifted.firstLine += shift;
        mine->Add(shifted);
    }
}

bool ReadPairLines(const PairLinePlan& plan, std::vector<CXYdata>& pairs,
                   const std::function<void(int)>& step, const PairFieldFormats* formats,
                   size_t firstLine, PairLineNotes& notes) {
    try {
        pairs.reserve(pairs.size() + plan.lines);
        const size_t firstPair = pairs.size();
        auto read = [&](const char* from, const char* to) {
            // Indexes in pairs become line numbers: unsigned arithmetic wraps back to them.
            notes.Add(ReadSegment(from, to, pairs, formats), firstLine - firstPair);
        };
        const char* p = plan.begin;
        for (const PairLinePlan::Mark& mark : plan.marks) {
            read(p, mark.after);
            p = mark.after;
            step(mark.percent);
        }
        read(p, plan.end);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace lumetra
