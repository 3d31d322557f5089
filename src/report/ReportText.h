#pragma once

#include <string>
#include <vector>

namespace lumetra {

// The report as plain text: every line followed by "\n", its TABs kept. This is what Copy puts
// on the clipboard, what a text export writes and what lumetra-cli prints.
std::string ReportText(const std::vector<std::string>& lines);

// The lines at the given indexes, in that order, the same way; indexes past the end are left out.
std::string ReportLinesText(const std::vector<std::string>& lines, const std::vector<int>& indexes);

} // namespace lumetra
