#pragma once

#include "data/ExactFields.h"
#include "data/LineLimit.h"
#include "data/NumberFormat.h"
#include "data/XYdata.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace lumetra {

// Finds the next CR LF at or after p; returns end when there is none.
const char* FindCrLf(const char* p, const char* end);

// The reader's progress rule: each line adds its length (characters plus one) to a total that
// is measured against steps of a twentieth of the file (of at most 10,000,000 bytes).
class ReadProgress {
public:
    explicit ReadProgress(size_t fileLength);
    // True when this line takes the total past the next step.
    bool AddLine(size_t len);
    // The share of the file read, in steps of 5 %, at most 100.
    int Percent() const;

private:
    size_t m_length;
    size_t m_base;
    size_t m_step;
    size_t m_threshold;
    size_t m_total = 0;
    size_t m_nSteps = 0;
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
    // Damage: the writer ends every line with CR LF, so a lone CR or LF inside a line has joined
    // two lines into one, and text after the last CR LF is a line cut short.
    bool lineEndInside = false; // the line after the planned ones holds a lone CR or LF
    bool cutShort = false;      // after the last CR LF follows more than white space
};

PairLinePlan PlanPairLines(const char* begin, const char* end, ReadProgress& progress);

// The formats X and Y are shown in, against which a line's exact values are checked.
struct PairFieldFormats {
    CompiledFormat x, y;
};

// The lines of a body that a read tells of once it is done.
struct PairLineNotes {
    OverruledFields overruled;        // a shown X or Y overruled its exact field
    OverruledFields unknownExclusion; // an "excluded" field that is neither 1 nor 0

    // Adds other's lines, their numbers moved on by shift.
    void Add(const PairLineNotes& other, size_t shift);
};

// Reads "%lf %lf %lf %lf" of every planned line into new pairs (fields a line does not supply
// stay 0.0), the standard deviation of its "s" field (NaN when that is not a number above 0)
// and its "excluded" mark, on several cores for large bodies, calling step(percent) at each
// mark. With formats, a line's exact X and Y fields that agree with the shown values replace
// them. The lines (numbered from firstLine) where a shown value overrules its field or the
// exclusion mark is unknown are added to notes. False when memory ran out.
bool ReadPairLines(const PairLinePlan& plan, std::vector<CXYdata>& pairs,
                   const std::function<void(int)>& step, const PairFieldFormats* formats,
                   size_t firstLine, PairLineNotes& notes);

} // namespace lumetra
