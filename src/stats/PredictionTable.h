#pragma once

#include "fit/Calibration.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

// A number as a user types it for a prediction: "." as the decimal point, finite, nothing else
// around it but blanks.
bool ReadFiniteValue(std::string_view text, double& value);
// A confidence level strictly between 0 and 1, written with "." whatever the locale.
bool ReadLevel(std::string_view text, double& level);

// The values typed or pasted: separated by blanks, TABs, line ends or ";" (a pasted column or
// row of a spreadsheet).
std::vector<std::string> SplitValues(std::string_view text);
// The values of each line that holds any: a line with several values is the readings of one
// sample.
std::vector<std::vector<std::string>> SplitSamples(std::string_view text);

// A table of text cells with its column headings.
struct TextTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// The Statistics window's table: for each typed value the prediction (the curve's output with
// the standard error of the mean and both intervals), or for each sample the calibration of its
// readings' mean (one row for each input in the range that gives it, with its interval, and the
// number of readings m). A value that is no number, and every answer in words, fill the last
// column.
TextTable PredictionTable(const FittedCurve& curve,
                          const std::vector<std::vector<std::string>>& samples, bool calibrate,
                          const CalibrationRequest& request);
// The table of a document without a curve: the reason, and no rows of values.
TextTable NoCurveTable(const std::string& reason);

// TAB between cells, a line end after each row, the header first: what a spreadsheet pastes.
std::string TableTabText(const TextTable& table);
// Columns padded to their widest cell, for printing beside the statistics.
std::vector<std::string> TableLines(const TextTable& table);

} // namespace lumetra
