#pragma once

#include <cstddef>
#include <string>

namespace lumetra {

// A line of a data file or an import file holds at most kMaxLineChars characters before its
// CR LF. The reader and the import measure a line as its characters plus one, so a line is too
// long when that measure passes kMaxLineLen.
inline constexpr size_t kMaxLineLen = 1024;
inline constexpr size_t kMaxLineChars = kMaxLineLen - 1;

// The refusal of a file with a line longer than that. The test of the first line words it with a
// blank after the line break and the test of every later line without one; the two texts have
// always differed so, and users and their scripts may tell the two cases apart by them.
std::string LongLineMessage(const std::string& path, bool firstLine);
// The same without its "File <path>:\n".
std::string LongLineText(bool firstLine);

} // namespace lumetra
