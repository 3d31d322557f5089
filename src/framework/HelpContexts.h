#pragma once

// Help context numbers: the help commands, F1 in each window and the Help button of each Options
// page ask for these.
namespace lumetra::help {

inline constexpr int kContents = 5000;
inline constexpr int kSynopsis = 5001;
inline constexpr int kCurvePage = 5003;
inline constexpr int kDataPage = 5004;
inline constexpr int kResolutionPage = 5005;
inline constexpr int kComputeYPage = 5006;
inline constexpr int kComputeXPage = 5007;
inline constexpr int kListingWindow = 5010;
inline constexpr int kPlotWindow = 5011;
inline constexpr int kStatisticsWindow = 5012;

} // namespace lumetra::help
