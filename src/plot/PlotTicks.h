#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lumetra {

// The ticks of readable and of logarithmic axes.

// A readable linear axis: its ends widened to whole steps of 1, 2 or 5 times a power of ten.
struct TidyScale {
    double lo = 0.0, hi = 0.0, step = 0.0;
    std::vector<double> ticks; // lo, lo + step, ..., hi, each a whole multiple of step
};
// About `intervals` steps from min to max (min < max); nothing when a step is too fine for
// doubles to tell its ticks apart (a range of a few units in the last place of its values).
std::optional<TidyScale> TidyLinearScale(double min, double max, int intervals);

// Labels of ticks a step apart, in as few digits as tell them apart: plain, or in exponent form
// ("-1E+007") where that is shorter; 0 as "0".
std::vector<std::string> TidyLabels(const std::vector<double>& ticks, double step);

// A tick of a log axis: mantissa × 10^exponent, mantissa 1 to 9. Unlabelled ticks are the short
// ones between the labelled.
struct LogTick {
    int mantissa = 1;
    int exponent = 0;
    bool labelled = true;
    double Value() const;
};
// The ticks from lo to hi (0 < lo < hi): the decades when two or more lie in the range (every
// second, fifth, ... labelled when there are many), with the multiples 2 to 9 between them while
// there are few; otherwise the multiples 1, 2 and 5, or else all whole multiples, of one
// decade; with fewer than two of those none (the caller labels the ends).
std::vector<LogTick> LogTicks(double lo, double hi);
// "0.001", "20", "1E+006": the fewest digits that write the tick exactly.
std::string LogTickLabel(const LogTick& tick);
// The range widened to the nearest 1, 2 or 5 times a power of ten below min and above max.
struct LogRange {
    double lo, hi;
};
LogRange TidyLogRange(double min, double max);

} // namespace lumetra
