#pragma once

#include "fit/FitStatistics.h"

namespace lumetra {

class SettingsStore;

// What the plot shows beside the pairs and the curve: the bands of the fit at a level, or
// instead of the curve the residuals (the differences against X with a zero line); and how its
// axes run: logarithmic, and readable (tidy ranges and ticks) rather than the described eighths
// and fifths of the data's range.
struct PlotOptions {
    bool confidenceBand = false;
    bool predictionBand = false;
    bool residuals = false;
    double level = kDefaultLevel;
    bool logX = false;
    bool logY = false;
    bool readable = false;
    bool operator==(const PlotOptions&) const = default;
};

// The plot window's choices, remembered under "Preferences" as "1" or "0".
inline constexpr const char* kConfidenceBandEntry = "PlotConfidenceBand";
inline constexpr const char* kPredictionBandEntry = "PlotPredictionBand";
inline constexpr const char* kResidualsEntry = "PlotResiduals";
inline constexpr const char* kLogXEntry = "PlotLogX";
inline constexpr const char* kLogYEntry = "PlotLogY";
inline constexpr const char* kReadableEntry = "PlotReadableAxes";
inline constexpr const char* kLogForLogModelsEntry = "PlotLogAxesForLogModels";
inline constexpr const char* kFitToWindowEntry = "PlotFitToWindow";
PlotOptions LoadPlotOptions(const SettingsStore& settings);
void SavePlotOptions(SettingsStore& settings, const PlotOptions& options);
bool ReadPlotFlag(const SettingsStore& settings, const char* entry);
void WritePlotFlag(SettingsStore& settings, const char* entry, bool on);

// The options a new plot window of a data set opens with: the remembered ones, but where the user
// asked for log axes for log models, the axes the model is straight on (both for the log-log
// polynomial, Y for Y=Ae^BX, X for X=Ae^BY).
PlotOptions NewPlotOptions(const SettingsStore& settings, int curveType);

} // namespace lumetra
