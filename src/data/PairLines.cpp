#include "data/PairLines.h"

#include "data/NumberScan.h"
#include "platform/WorkSplit.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>

namespace lumetra {
namespace {

constexpr size_t kProgressCap = 10000000;
// Below this many bytes for each part a thread costs more than it saves.
constexpr size_t kMinBytesPerPart = 64 * 1024;

void ReadPairLine(const char* p, const char* eol, CXYdata& pair) {
    ScanDouble(p, eol, pair.m_dX) && ScanDouble(p, eol, pair.m_dY) &&
        ScanDouble(p, eol, pair.m_dComputed) && ScanDouble(p, eol, pair.m_dDifference);
}

void ReadLinesInto(const char* p, const char* end, std::vector<CXYdata>& out) {
    while (p < end) {
        const char* eol = FindCrLf(p, end);
        CXYdata pair;
        ReadPairLine(p, eol, pair);
        out.push_back(pair);
        p = eol + 2;
    }
}

// Reads [begin, end) in parts at once, split at line ends: the first part appends to pairs, the
// others fill vectors of their own that are appended in order, so the pairs come out as one
// thread reads them.
void ReadSegment(const char* begin, const char* end, std::vector<CXYdata>& pairs) {
    const int parts = WorkParts(size_t(end - begin), kMinBytesPerPart);
    if (parts == 1) {
        ReadLinesInto(begin, end, pairs);
        return;
    }
    std::vector<const char*> starts(size_t(parts) + 1, end);
    starts[0] = begin;
    for (int part = 1; part < parts; ++part) {
        const char* eol = FindCrLf(begin + (end - begin) * part / parts, end);
        starts[size_t(part)] = std::max(eol == end ? end : eol + 2, starts[size_t(part) - 1]);
    }
    std::vector<std::vector<CXYdata>> own(size_t(parts) - 1);
    RunParts(parts, [&](int part, int) {
        const char* from = starts[size_t(part)];
        const char* to = starts[size_t(part) + 1];
        if (part == 0) {
            ReadLinesInto(from, to, pairs);
            return;
        }
        std::vector<CXYdata>& out = own[size_t(part) - 1];
        out.reserve(size_t(to - from) / 16);
        ReadLinesInto(from, to, out);
    });
    for (const std::vector<CXYdata>& out : own)
        pairs.insert(pairs.end(), out.begin(), out.end());
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
                   const std::function<void(int)>& step) {
    try {
        pairs.reserve(pairs.size() + plan.lines);
        const char* p = plan.begin;
        for (const PairLinePlan::Mark& mark : plan.marks) {
            ReadSegment(p, mark.after, pairs);
            p = mark.after;
            step(mark.percent);
        }
        ReadSegment(p, plan.end, pairs);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace lumetra
