#pragma once

#include "data/XYdata.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace lumetra {

// A line of a data file holds at most this many characters plus one.
inline constexpr size_t kMaxLineLen = 1024;

// Finds the next CR LF at or after p; returns end when there is none.
const char* FindCrLf(const char* p, const char* end);

// The reader's progress rule: each line adds its length (characters plus one) to a total that
// is measured against steps of a twentieth of the file (of at most 10,000,000 bytes).
class ReadProgress {
public:
    explicit ReadProgress(size_t fileLength);
    // True when this line takes the total past the next step; Percent() is then 5 higher.
    bool AddLine(size_t len);
    int Percent() const { return m_nPercent; }

private:
    size_t m_step;
    size_t m_threshold;
    size_t m_total = 0;
    int m_nPercent = 0;
};

// Where the pair lines of a file body are: every CR LF ended line from begin on; text after the
// last CR LF is not a line.
struct PairLinePlan {
    struct Mark {
        const char* after; // the progress steps to this percent once the lines before are read
        int percent;
    };
    const char* begin = nullptr;
    const char* end = nullptr; // after the last CR LF
    size_t lines = 0;
    std::vector<Mark> marks;
    bool tooLong = false; // a line is longer than the reader takes
};

PairLinePlan PlanPairLines(const char* begin, const char* end, ReadProgress& progress);

// Reads "%lf %lf %lf %lf" of every planned line into new pairs (fields a line does not supply
// stay 0.0), on several cores for large bodies, calling step(percent) at each mark. False when
// memory ran out.
bool ReadPairLines(const PairLinePlan& plan, std::vector<CXYdata>& pairs,
                   const std::function<void(int)>& step);

} // namespace lumetra
