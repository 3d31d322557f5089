#pragma once

#include <string>

namespace lumetra {

class CLumetraDoc;

// A plain account of what a data set holds: titles, model, statistics, display settings,
// coefficients, pair count and extremes, one item a line.
std::string DescribeDocument(const CLumetraDoc& doc);

} // namespace lumetra
