#include "data/PairLines.h"

#include "data/NumberScan.h"

#include <cctype>
#include <cstring>
#include <new>
#include <thread>

namespace lumetra {
namespace {

constexpr size_t kProgressCap = 10000000;
// Below this a second thread costs more than it saves.
constexpr size_t kSplitBytes = 256 * 1024;

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

// Reads [begin, end) in two halves at once, the second into its own vector, then appends it.
bool ReadSegment(const char* begin, const char* end, std::vector<CXYdata>& pairs) {
    if (size_t(end - begin) < kSplitBytes || std::thread::hardware_concurrency() < 2) {
        ReadLinesInto(begin, end, pairs);
        return true;
    }
    const char* middle = FindCrLf(begin + (end - begin) / 2, end) + 2;
    std::vector<CXYdata> second;
    bool secondOk = true;
    std::thread helper([&] {
        try {
            second.reserve(size_t(end - middle) / 16);
            ReadLinesInto(middle, end, second);
        } catch (const std::bad_alloc&) {
            secondOk = false;
        }
    });
    bool firstOk = true;
    try {
        ReadLinesInto(begin, middle, pairs);
    } catch (const std::bad_alloc&) {
        firstOk = false;
    }
    helper.join();
    if (!firstOk || !secondOk)
        return false;
    pairs.insert(pairs.end(), second.begin(), second.end());
    return true;
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
            if (!ReadSegment(p, mark.after, pairs))
                return false;
            p = mark.after;
            step(mark.percent);
        }
        return ReadSegment(p, plan.end, pairs);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace lumetra
