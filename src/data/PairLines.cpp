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

// Reads one line into pair; false when a shown X or Y overruled its exact field.
bool ReadPairLine(const char* p, const char* eol, CXYdata& pair, const PairFieldFormats* formats) {
    // A line with fewer numbers has its fields after the last one read.
    for (double* value : {&pair.m_dX, &pair.m_dY, &pair.m_dComputed, &pair.m_dDifference})
        if (const char* before = p; !ScanDouble(p, eol, *value)) {
            p = before;
            break;
        }
    const std::string_view rest(p, size_t(eol - p));
    // Lines without fields are the rule; they cost one search for '='.
    if (rest.find('=') != std::string_view::npos)
        TakeSigmaField(rest, pair.m_dSigma);
    if (!formats)
        return true;
    const bool xOverruled = TakeExactField(rest, "x", formats->x, pair.m_dX) == FieldUse::Overruled;
    return TakeExactField(rest, "y", formats->y, pair.m_dY) != FieldUse::Overruled && !xOverruled;
}

// Appends the lines' pairs to out; the overruled lines are counted by their index in out.
OverruledFields ReadLinesInto(const char* p, const char* end, std::vector<CXYdata>& out,
                              const PairFieldFormats* formats) {
    OverruledFields overruled;
    while (p < end) {
        const char* eol = FindCrLf(p, end);
        CXYdata pair;
        if (!ReadPairLine(p, eol, pair, formats))
            overruled.Add(out.size());
        out.push_back(pair);
        p = eol + 2;
    }
    return overruled;
}

// Reads [begin, end) in parts at once, split at line ends: the first part appends to pairs, the
// others fill vectors of their own that are appended in order, so the pairs come out as one
// thread reads them. The overruled lines are counted by their index in pairs.
OverruledFields ReadSegment(const char* begin, const char* end, std::vector<CXYdata>& pairs,
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
    std::vector<OverruledFields> overruled(static_cast<size_t>(parts));
    RunParts(parts, [&](int part, int) {
        const char* from = starts[size_t(part)];
        const char* to = starts[size_t(part) + 1];
        if (part == 0) {
            overruled[0] = ReadLinesInto(from, to, pairs, formats);
            return;
        }
        std::vector<CXYdata>& out = own[size_t(part) - 1];
        out.reserve(size_t(to - from) / 16);
        overruled[size_t(part)] = ReadLinesInto(from, to, out, formats);
    });
    OverruledFields all = overruled[0];
    for (size_t part = 1; part < size_t(parts); ++part) {
        OverruledFields shifted = overruled[part];
        shifted.firstLine += pairs.size();
        all.Add(shifted);
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

bool ReadPairLines(const PairLinePlan& plan, std::vector<CXYdata>& pairs,
                   const std::function<void(int)>& step, const PairFieldFormats* formats,
                   size_t firstLine, OverruledFields& overruled) {
    try {
        pairs.reserve(pairs.size() + plan.lines);
        const size_t firstPair = pairs.size();
        auto read = [&](const char* from, const char* to) {
            OverruledFields lines = ReadSegment(from, to, pairs, formats);
            lines.firstLine = firstLine + (lines.firstLine - firstPair);
            overruled.Add(lines);
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
