#include "plot/PlotTicks.h"

#include "data/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

// Ratios within this of a whole number count as whole: 0.3 / 0.1 is 2.9999999999999996.
constexpr double kWhole = 1e-9;
// Beyond this a whole multiple of a step no longer has a double of its own.
constexpr double kExactMultiples = 4503599627370496.0; // 2^52

double Pow10(int e) {
    return std::pow(10.0, e);
}

// The exponent of a power-of-ten-like value: 3 for 1000 and for 5000.
int Exponent(double v) {
    return int(std::floor(std::log10(v) + kWhole));
}

std::string Fixed(double v, int decimals) {
    return FormatC("%." + std::to_string(decimals) + "f", {v});
}

std::string Scientific(double v, int decimals) {
    return v == 0.0 ? "0" : FormatC("%." + std::to_string(decimals) + "E", {v});
}

size_t Longest(const std::vector<std::string>& labels) {
    size_t n = 0;
    for (const std::string& l : labels)
        n = std::max(n, l.size());
    return n;
}

bool AllDifferent(std::vector<std::string> labels) {
    std::sort(labels.begin(), labels.end());
    return std::adjacent_find(labels.begin(), labels.end()) == labels.end();
}

} // namespace

std::optional<TidyScale> TidyLinearScale(double min, double max, int intervals) {
    const double raw = (max - min) / intervals;
    if (!(raw > 0.0) || !std::isfinite(raw))
        return std::nullopt;
    const double magnitude = Pow10(Exponent(raw));
    double step = 10.0 * magnitude;
    for (double m : {1.0, 2.0, 5.0})
        if (m * magnitude >= raw * (1.0 - kWhole)) {
            step = m * magnitude;
            break;
        }
    double first = std::floor(min / step), last = std::ceil(max / step);
    if (min / step - first > 1.0 - kWhole)
        first += 1.0;
    if (last - max / step > 1.0 - kWhole)
        last -= 1.0;
    if (std::fabs(first) > kExactMultiples || std::fabs(last) > kExactMultiples)
        return std::nullopt;
    TidyScale scale;
    scale.step = step;
    for (double k = first; k <= last; k += 1.0) {
        const double v = k * step;
        if (!std::isfinite(v) || (!scale.ticks.empty() && !(v > scale.ticks.back())))
            return std::nullopt;
        scale.ticks.push_back(v);
    }
    if (scale.ticks.size() < 2)
        return std::nullopt;
    scale.lo = scale.ticks.front();
    scale.hi = scale.ticks.back();
    return scale;
}

std::vector<std::string> TidyLabels(const std::vector<double>& ticks, double step) {
    double largest = 0.0;
    for (double v : ticks)
        largest = std::max(largest, std::fabs(v));
    const int e = Exponent(step);
    const int top = largest > 0.0 ? Exponent(largest) : e;
    std::vector<std::string> plain, scientific;
    for (int extra = 0; extra <= 17; ++extra) {
        plain.clear();
        scientific.clear();
        for (double v : ticks) {
            plain.push_back(Fixed(v, std::max(0, -e) + extra));
            scientific.push_back(Scientific(v, std::max(0, top - e) + extra));
        }
        std::vector<std::string>& shorter =
            Longest(scientific) < Longest(plain) ? scientific : plain;
        if (AllDifferent(shorter))
            return shorter;
    }
    return plain;
}

double LogTick::Value() const {
    return mantissa * Pow10(exponent);
}

std::vector<LogTick> LogTicks(double lo, double hi) {
    auto inside = [&](double v) { return v >= lo * (1.0 - kWhole) && v <= hi * (1.0 + kWhole); };
    const int first = Exponent(lo), last = Exponent(hi);
    std::vector<LogTick> decades;
    for (int d = first; d <= last; ++d)
        if (inside(Pow10(d)))
            decades.push_back({1, d, true});
    std::vector<LogTick> ticks;
    if (decades.size() >= 2) {
        // At most about ten labels; the labelled decades are whole multiples of the stride.
        const int stride = int((decades.size() + 9) / 10);
        const bool minors = decades.size() <= 6;
        for (int d = first; d <= last; ++d)
            for (int m = 1; m <= 9; ++m) {
                const LogTick tick{m, d, m == 1 && d % stride == 0};
                if ((m == 1 || minors) && inside(tick.Value()))
                    ticks.push_back(tick);
            }
        return ticks;
    }
    for (const std::vector<int>& multiples :
         {std::vector<int>{1, 2, 5}, std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}}) {
        ticks.clear();
        for (int d = first; d <= last; ++d)
            for (int m : multiples)
                if (inside(LogTick{m, d}.Value()))
                    ticks.push_back({m, d, true});
        if (ticks.size() >= 2)
            return ticks;
    }
    return {};
}

std::string LogTickLabel(const LogTick& tick) {
    if (tick.exponent < -4 || tick.exponent > 5)
        return FormatC("%.0E", {tick.Value()});
    return Fixed(tick.Value(), std::max(0, -tick.exponent));
}

LogRange TidyLogRange(double min, double max) {
    auto below = [](double v) {
        const int d = Exponent(v);
        for (int m : {5, 2, 1})
            if (m * Pow10(d) <= v * (1.0 + kWhole))
                return m * Pow10(d);
        return Pow10(d - 1) * 5.0;
    };
    auto above = [](double v) {
        const int d = Exponent(v);
        for (int m : {1, 2, 5, 10})
            if (m * Pow10(d) >= v * (1.0 - kWhole))
                return m * Pow10(d);
        return Pow10(d + 1);
    };
    return {below(min), above(max)};
}

} // namespace lumetra
