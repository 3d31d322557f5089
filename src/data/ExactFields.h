#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumetra {

class CompiledFormat;

// A data file shows each number as its line's format prints it. Where that text does not read
// back to the stored double, the line carries the exact value after its leading fields as
// "<TAB>name=value", which a reader that takes only the leading fields passes over. So the
// display precision never decides what a file keeps.

// Lines 6 and 7 show the fit statistics and the log offsets so, whatever the display settings.
inline constexpr const char* kStatisticsFormat = "%lf";

// Room a line needs for one such field: the TAB, a one-letter name, "=" and the longest
// shortest text of a double ("-2.2250738585072014e-308").
inline constexpr size_t kExactFieldRoom = 3 + 24;
// A pair the fit leaves out carries "<TAB>excluded=1".
inline constexpr size_t kExclusionFieldRoom = 11;

// The shortest text that reads back to exactly this double: "0.1", "1e+300", "-0".
std::string ShortestText(double value);

// Appends "<TAB>name=" and the value's shortest text when `shown`, what the line's field reads
// as, is not the value bit for bit.
void AppendExactField(std::string& line, std::string_view name, double shown, double value);

// The text of the field `name` in `rest`, the part of a line after its leading fields; empty
// when there is none.
std::string_view FieldText(std::string_view rest, std::string_view name);

enum class FieldUse { Absent, Taken, Overruled };

// The number a line gives for a field shown as `value`: the exact field `name` when it agrees
// with the shown value at the shown precision (formatted with `shownFormat` it reads as the
// shown value), so value becomes the exact one (Taken). A shown value edited by hand, or a field
// that is not a finite number, leaves value as shown (Overruled).
FieldUse TakeExactField(std::string_view rest, std::string_view name,
                        const CompiledFormat& shownFormat, double& value);

// The lines of a file whose shown value overruled its exact field, for the note after a read.
struct OverruledFields {
    size_t count = 0;
    size_t firstLine = 0; // 1-based; the smallest of those counted

    void Add(size_t line);
    void Add(const OverruledFields& other);
};

// The note after reading such a file: which shown values were taken.
std::string OverruledFieldsNote(const std::string& path, const OverruledFields& overruled);

} // namespace lumetra
